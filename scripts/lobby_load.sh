#!/usr/bin/env bash
# The lobby server under load on loopback: ROOMS waiting rooms and MATCHES relayed matches at a
# match's packet rate for SECONDS, the server on one core and the load on the other.
# Usage: scripts/lobby_load.sh [ROOMS] [MATCHES] [SECONDS]   (default 5000 300 20)
# Prints the load's report (relayed, lost, the server's CPU time per packet and memory) and the
# server's own counters.
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
if command -v taskset >/dev/null && [ "$(nproc)" -ge 2 ]; then
    PIN_SERVER=(taskset -c 0) PIN_LOAD=(taskset -c 1)
fi
"${PIN_SERVER[@]}" build/lobby/pomrin-lobby --port 0 --bind 127.0.0.1 --stats-interval 0 \
    --max-rooms $((ROOMS + MATCHES + 100)) --max-relays $((MATCHES + 100)) >"$WORK/server.log" &
PID=$!
for _ in $(seq 50); do grep -q listening "$WORK/server.log" && break; sleep 0.1; done
PORT=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\) .*/\1/p' "$WORK/server.log")
[ -n "$PORT" ] || { echo "the server did not start" >&2; cat "$WORK/server.log" >&2; exit 1; }
"${PIN_LOAD[@]}" build/bench/bench_lobby_load "$PORT" "$PID" "$ROOMS" "$MATCHES" "$SECONDS_RUN"
kill -TERM "$PID"
wait "$PID"
PID=
echo "server counters:"
grep ' stats ' "$WORK/server.log" | tail -1 | cut -d' ' -f3- | tr '|' '\n' | sed 's/^ */  /'
