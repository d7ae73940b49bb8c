#!/usr/bin/env bash
# Online play of the page's code: the simulator built for Node (WebSocket) and the native one (UDP)
# meet by room code through a lobby server on 127.0.0.1, both ways, and play the net tests' match:
# identical traces, the record equal to tests/netplay/match.rec, through the relay. Then the same
# match over a lossy line, inside a network namespace of its own: 40 ms each way (--net-lag 40)
# and 2 % of the server's TCP segments dropped by nftables; it stays in step (the same trace and
# record), and its rollbacks and waits are reported.
# Usage: tests/web/online.sh NATIVE_BUILD WEB_BUILD   (NODE_PATH must hold the ws module)
set -euo pipefail
NATIVE=$1
WEB=$2
NETPLAY=$(cd "$(dirname "$0")/../netplay" && pwd)
WORK=$(mktemp -d)
NS=pomrin-web-$$
IN=()
cleanup() {
    kill $(jobs -p) 2>/dev/null || true
    ip netns del $NS 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    for f in "$WORK"/*.err "$WORK"/*.log; do echo "--- $f" && cat "$f"; done >&2
    exit 1
}

native_sim() { "${IN[@]}" "$NATIVE/tools/pomrin-sim" "$@"; }
node_sim() { "${IN[@]}" node "$WEB/pomrin-sim.js" "$@"; }

. "$(dirname "$0")/../support/lobby.sh"
lobby() { start_lobby "$NATIVE" "$WORK/$1-lobby.log" "${IN[@]}" || fail "the lobby server did not start"; }

play() {  # play NAME HOST GUEST FLAGS...: the match by room code (HOST, GUEST: native_sim or node_sim)
    local name=$1 host=$2 guest=$3 code=""
    shift 3
    mkdir -p "$WORK/$name-h/user_data" "$WORK/$name-g/user_data"
    for d in "$WORK/$name-h" "$WORK/$name-g"; do ln -s "$NATIVE/data/bmp" "$NATIVE/data/wav" "$d/"; done
    $host --data "$WORK/$name-h" --host $((20000 + $$ % 20000)) --lobby "$LOBBY" --input "$NETPLAY/host.txt" \
        --frames 1950 --trace "$WORK/$name-h.trace" --net-record "$WORK/$name.rec" --net-stats "$@" \
        >"$WORK/$name-h.out" 2>"$WORK/$name-h.err" &
    local pid=$!
    for _ in $(seq 200); do
        code=$(sed -n 's/^room //p' "$WORK/$name-h.out" 2>/dev/null)
        [ -n "$code" ] && break
        sleep 0.1
    done
    [ -n "$code" ] || fail "$name: the host got no room"
    $guest --data "$WORK/$name-g" --join "$code" --lobby "$LOBBY" --input "$NETPLAY/guest.txt" --frames 1950 \
        --trace "$WORK/$name-g.trace" --net-stats --lang en "$@" >"$WORK/$name-g.out" 2>"$WORK/$name-g.err" ||
        fail "$name: guest exit code $?"
    wait $pid || fail "$name: host exit code $?"
    [ "$(wc -l <"$WORK/$name-h.trace")" = 1950 ] || fail "$name: the trace is not 1950 frames"
    cmp -s "$WORK/$name-h.trace" "$WORK/$name-g.trace" || fail "$name: host and guest traces differ"
    cmp -s "$WORK/$name.rec" "$NETPLAY/match.rec" || fail "$name: the record differs from tests/netplay/match.rec"
    grep -q "^route relay" "$WORK/$name-g.out" || fail "$name: not through the relay"
    echo "ok   $name: the match in step through the relay, room $code"
    sed -n 's/.*net stats: /     host:  /p' "$WORK/$name-h.err"
    sed -n 's/.*net stats: /     guest: /p' "$WORK/$name-g.err"
}

lobby loopback
play node-hosts node_sim native_sim
play native-hosts native_sim node_sim

# The lossy line: its own namespace, its own loopback, the server's segments dropped at random.
ip netns add $NS
IN=(ip netns exec $NS)
"${IN[@]}" ip link set lo up
lobby lossy
"${IN[@]}" nft -f - <<NFT
table inet pomrin_lossy {
    chain out {
        type filter hook output priority 0;
        tcp sport ${LOBBY##*:} numgen random mod 100 < 2 counter drop
    }
}
NFT
play lossy node_sim native_sim --net-lag 40 --net-seed 7
echo "     segments the server lost: $("${IN[@]}" nft list ruleset | sed -n 's/.*counter packets \([0-9]*\).*/\1/p')"
