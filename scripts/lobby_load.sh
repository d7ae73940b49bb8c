#!/usr/bin/env bash
# The lobby server under load on loopback: ROOMS waiting rooms and MATCHES relayed matches at a
# match's packet rate for SECONDS, the server on one core and the load on the other.
# Usage: scripts/lobby_load.sh [ROOMS] [MATCHES] [SECONDS]   (default 5000 300 20)
# Prints the load's report (sent, come back, the server's CPU time and memory), the server's own
# counters and its CPU time per relayed packet. LOBBY_LOAD_NO_PIN=1 leaves both to the scheduler.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOMS=${1:-5000}
MATCHES=${2:-300}
SECONDS_RUN=${3:-20}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target pomrin-lobby bench_lobby_load >/dev/null
WORK=$(mktemp -d)
PID=
cleanup() {
    [ -n "$PID" ] && kill "$PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
PIN_SERVER=() PIN_LOAD=()
if [ -z "${LOBBY_LOAD_NO_PIN:-}" ] && command -v taskset >/dev/null && [ "$(nproc)" -ge 2 ]; then
    PIN_SERVER=(taskset -c 0) PIN_LOAD=(taskset -c 1)
fi
"${PIN_SERVER[@]}" build/lobby/pomrin-lobby --port 0 --bind 127.0.0.1 --stats-interval 0 \
    --max-rooms $((ROOMS + MATCHES + 100)) --max-relays $((MATCHES + 100)) >"$WORK/server.log" &
PID=$!
for _ in $(seq 50); do grep -q listening "$WORK/server.log" && break; sleep 0.1; done
PORT=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\) .*/\1/p' "$WORK/server.log")
[ -n "$PORT" ] || { echo "the server did not start" >&2; cat "$WORK/server.log" >&2; exit 1; }
uptime
"${PIN_LOAD[@]}" build/bench/bench_lobby_load "$PORT" "$PID" "$ROOMS" "$MATCHES" "$SECONDS_RUN" | tee "$WORK/load.txt"
kill -TERM "$PID"
wait "$PID"
PID=
echo "server counters:"
grep ' stats ' "$WORK/server.log" | tail -1 | cut -d' ' -f3- | tr '|' '\n' | sed 's/^ */  /'
# The server's CPU time over the run for each packet it relayed (its receive and its send).
CPU=$(sed -n 's/^server: \([0-9.]*\) s CPU over the run.*/\1/p' "$WORK/load.txt")
RELAYED=$(grep ' stats ' "$WORK/server.log" | tail -1 | sed 's/.*relayed \([0-9]*\) packets.*/\1/')
awk -v c="$CPU" -v n="$RELAYED" -v m="$MATCHES" 'BEGIN { if (n > 0) {
    us = 1e6 * c / n
    printf "server: %.2f us CPU per relayed packet (keep-alives included); at 180 packets a second a match, one core relays %.0f matches\n", us, 1e6 / us / 180 } }'
