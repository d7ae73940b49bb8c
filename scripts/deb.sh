#!/usr/bin/env bash
# Makes the Debian packages BUILD_DIR/pomrin_<version>_amd64.deb (the game; CPack; Depends from
# dpkg-shlibdeps plus the font) and BUILD_DIR/pomrin-lobby_<version>_amd64.deb (the lobby server
# and its systemd unit). Reuses the build folder's objects (default build/). The game's package
# is the last line printed.
# usage: scripts/deb.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
DEB_PACKAGES=(dpkg-dev file xz-utils)
need_packages "${BUILD_PACKAGES[@]}" "${DEB_PACKAGES[@]}"
BUILD=${1:-build}
# Installed under /usr; only what the package holds is built, not the tests.
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
      -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target pomrin keymap pomrin_data pomrin_man pomrin-lobby pomrin_lobby_man
VERSION=$(sed -n 's/^project(pomrin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for config in CPackLobbyConfig.cmake CPackConfig.cmake; do
    (cd "$BUILD" && cpack -G DEB --config $config >cpack.log 2>&1) || { cat "$BUILD/cpack.log" >&2; exit 1; }
done
for name in pomrin-lobby pomrin; do
    DEB="$BUILD/${name}_${VERSION}_$(dpkg --print-architecture).deb"
    [ -f "$DEB" ] || { echo "deb.sh: $DEB was not made" >&2; exit 1; }
    echo "$DEB ($(du -k "$DEB" | cut -f1) KB)"
done
