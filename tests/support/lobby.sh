# Sourced by the test scripts. start_lobby NATIVE_BUILD LOG [PREFIX...]: starts pomrin-lobby on
# 127.0.0.1 at a free port (under PREFIX, e.g. ip netns exec NS); sets LOBBY to its address and
# LOBBYPID, or returns 1 with its log on stderr.
start_lobby() {
    local native=$1 log=$2
    shift 2
    "$@" "$native/lobby/pomrin-lobby" --bind 127.0.0.1 --port 0 >"$log" 2>&1 &
    LOBBYPID=$!
    for _ in $(seq 100); do
        LOBBY=$(sed -n 's/.*listening on \(127\.0\.0\.1:[0-9]*\).*/\1/p' "$log" 2>/dev/null)
        [ -n "$LOBBY" ] && return 0
        sleep 0.1
    done
    echo "FAIL: the lobby server did not start" >&2
    cat "$log" >&2
    return 1
}
