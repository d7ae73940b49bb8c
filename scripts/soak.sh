#!/usr/bin/env bash
# The long soak: FRAMES (default 1,000,000) of random sessions under the sanitizers, each
# session played twice. The sessions' seeds count up from SEED (default 1): soaks started from
# different seeds play different sessions.
# Usage: scripts/soak.sh [--seed SEED] [FRAMES]
set -euo pipefail
cd "$(dirname "$0")/.."
usage() { echo "usage: scripts/soak.sh [--seed SEED] [FRAMES]   (SEED 1 or more, default 1; FRAMES default 1000000)" >&2; exit 2; }
SEED=1 FRAMES=1000000
while [ $# -gt 0 ]; do
    case "$1" in
        --seed) [ $# -ge 2 ] || usage; SEED=$2; shift 2 ;;
        -*) usage ;;
        *) FRAMES=$1; shift ;;
    esac
done
[[ "$SEED" =~ ^[1-9][0-9]{0,17}$ ]] || usage
[[ "$FRAMES" =~ ^[1-9][0-9]{0,8}$ ]] || usage
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOMRIN_SANITIZE=ON -DPOMRIN_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)" --target test_soak pomrin-sim pomrin_data
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cd build-asan
echo "soak: $FRAMES frames from session seed $SEED"
POMRIN_SOAK_FRAMES=$FRAMES POMRIN_SOAK_SEED=$SEED ./tests/test_soak
