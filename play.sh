#!/usr/bin/env bash
# Builds the game and starts it. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target pomrin pomrin_data
cd build/data
exec ../pomrin "$@"
