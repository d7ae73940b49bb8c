#!/usr/bin/env bash
# Builds everything and runs the whole test suite, then the Debian package, the browser build
# (Node and headless Chromium) and the Windows build under Wine, then each fuzz target for a few
# seconds (build-fuzz), then the suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan).
#   --quick       skip the long legs: Windows, web, packages, clang traces, sanitizers
#   --no-windows  skip the Windows leg
#   --no-web      skip the web leg
set -euo pipefail
cd "$(dirname "$0")"
QUICK=0 WINDOWS=1 WEB=1
for a in "$@"; do
    case "$a" in
        --quick) QUICK=1 ;;
        --no-windows) WINDOWS=0 ;;
        --no-web) WEB=0 ;;
        *) echo "usage: ./test.sh [--quick] [--no-windows] [--no-web]" >&2; exit 2 ;;
    esac
done
[ "$QUICK" = 1 ] && echo "--quick: skipping the long legs (Windows, web, packages, clang traces, sanitizers)"
. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}" xvfb xauth xdotool imagemagick sox clang libclang-rt-14-dev \
    iproute2 nftables
JOBS=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$JOBS"
(cd build && ctest --output-on-failure -j"$JOBS")

if [ "$QUICK" = 0 ]; then
    # The Debian package, unpacked and started with a fresh home.
    echo "== packages =="
    scripts/deb_test.sh build
fi

if [ "$QUICK" = 0 ] && [ "$WEB" = 1 ]; then
    echo "== web =="
    WEB_NATIVE=build scripts/web.sh --test
elif [ "$QUICK" = 0 ]; then
    echo "--no-web: skipping the web leg"
fi

if [ "$QUICK" = 0 ] && [ "$WINDOWS" = 1 ]; then
    echo "== Windows =="
    scripts/windows.sh --test
elif [ "$QUICK" = 0 ]; then
    echo "--no-windows: skipping the Windows leg"
fi

# Determinism across compilers: the simulator built with clang++ plays a match to the same trace
# (long leg: --quick skips it).
if [ "$QUICK" = 1 ]; then
    echo "== clang trace: skipped (--quick) =="
else
    echo "== clang trace =="
    scripts/clang_trace.sh
fi

echo "== fuzz targets =="
scripts/fuzz.sh 5

[ "$QUICK" = 1 ] && exit 0
echo "== sanitizers =="
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOMRIN_SANITIZE=ON -DPOMRIN_BENCH=OFF >/dev/null
cmake --build build-asan -j"$JOBS"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
(cd build-asan && ctest --output-on-failure -j"$JOBS" -LE net)
