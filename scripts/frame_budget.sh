#!/usr/bin/env bash
# The frame budget in numbers: the frame benchmarks, the simulator's speed on VS COM matches
# at strength 4, and the resident memory of the simulator and of the real game (SDL dummy
# video and Xvfb). Usage: scripts/frame_budget.sh [FRAMES]   (simulated frames, default 200000)
set -euo pipefail
cd "$(dirname "$0")/.."
FRAMES=${1:-200000}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target bench_frame_budget pomrin-sim pomrin pomrin_data >/dev/null
BUILD=$PWD/build
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

echo "== frame benchmarks (per-frame counters in thread CPU microseconds) =="
"$BUILD/bench/bench_frame_budget" 2>/dev/null | grep '^BM_'

echo "== simulator: VS COM at strength 4, $FRAMES frames =="
mkdir -p "$WORK/data/user_data"
ln -s "$BUILD/data/bmp" "$WORK/data/bmp"
ln -s "$BUILD/data/wav" "$WORK/data/wav"
# Wins 5, defences 3, COM strength 4, speed 1.0, normal battle.
printf '\x05\0\0\0\x03\0\0\0\x03\0\0\0\x03\0\0\0\x04\0\0\0\0\0\0\0\0\0\0\0\0\0\xf0\x3f\0\0\0\0\0\0\0\0' \
    >"$WORK/data/user_data/Option.dat"
# Button 1 alone every 20 frames (title, select, and a skill in the fight), player 1 rolling about between.
awk -v n="$FRAMES" 'BEGIN { split("RIGHT DOWN,,LEFT,UP,DOWN RIGHT,", dirs, ",");
    for (f = 0; f < n; f += 20) { print f " Z"; print f + 1 " " dirs[int(f / 40) % 6 + 1] } }' >"$WORK/input.txt"
/usr/bin/time -f "%e s wall, %U s user, %S s system, %M kB peak resident" -o "$WORK/time.txt" \
    "$BUILD/tools/pomrin-sim" --data "$WORK/data" --input "$WORK/input.txt" --frames "$FRAMES" \
    --trace "$WORK/trace.jsonl"
cat "$WORK/time.txt"
awk -v n="$FRAMES" '/wall/ { printf "%.0f frames/s by CPU time, %.0f frames/s by wall time\n", n / ($4 + $7), n / $1 }' \
    "$WORK/time.txt"
echo "$(grep -c '"scene":2' "$WORK/trace.jsonl" || true) of them in the battle"

echo "== the game's resident memory =="
peak() {  # runs the game for 8 seconds and prints its peak resident size
    (cd "$BUILD/data" && exec "$BUILD/pomrin") &
    local pid=$!
    sleep 8
    grep VmHWM "/proc/$pid/status" || echo "game not running"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
echo -n "SDL dummy video: "; SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy peak
echo -n "Xvfb:            "
SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "BUILD='$BUILD'; $(declare -f peak); peak"
