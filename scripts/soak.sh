#!/usr/bin/env bash
# The long soak: FRAMES (default 1,000,000) of random sessions under the sanitizers, each
# session played twice. Usage: scripts/soak.sh [FRAMES]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOMRIN_SANITIZE=ON -DPOMRIN_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)" --target test_soak pomrin-sim pomrin_data
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cd build-asan
POMRIN_SOAK_FRAMES=${1:-1000000} ./tests/test_soak
