#!/usr/bin/env bash
# Builds only pomrin-sim with clang++ (build-clang) and checks that it plays the scripted match
# to the same trace as the g++ build (build), for each scripted match and for the net record of
# the loopback match (tests/netplay/match.rec, replayed).
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-$(nproc)}
cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DPOMRIN_TESTS=OFF -DPOMRIN_BENCH=OFF >/dev/null
cmake --build build-clang -j"$JOBS" --target pomrin-sim
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
for script in tests/match/match.txt tests/match/double_ko.txt; do
    build/tools/pomrin-sim --data build/data --input "$script" --frames 2400 --trace "$OUT/gcc.trace"
    build-clang/tools/pomrin-sim --data build/data --input "$script" --frames 2400 --trace "$OUT/clang.trace"
    cmp "$OUT/gcc.trace" "$OUT/clang.trace" || { echo "FAIL: clang and g++ traces of $script differ"; exit 1; }
done
build/tools/pomrin-sim --data build/data --replay tests/netplay/match.rec --trace "$OUT/gcc.trace"
build-clang/tools/pomrin-sim --data build/data --replay tests/netplay/match.rec --trace "$OUT/clang.trace"
cmp "$OUT/gcc.trace" "$OUT/clang.trace" || { echo "FAIL: clang and g++ replays of the net record differ"; exit 1; }
echo "clang trace: ok"
