#!/usr/bin/env bash
# The game in a web browser: builds the page and the simulator for Node into build-web/ with
# Debian's emscripten, offline.
#
#   scripts/web.sh           build build-web/page/ (pomrin.html, .js, .wasm, .data, font licence)
#                            and build-web/pomrin-sim.js; prints the page's size by file
#   scripts/web.sh --serve   build, then serve the page on http://127.0.0.1:8090/pomrin.html
#   scripts/web.sh --test    build, then compare the Node simulator's traces with the native one's
#                            and run the browser test in headless Chromium
#
# WEB_ORIGINAL_FONT=1 packs the original IPA Gothic instead of the cut-down font (a larger page).
# POMRIN_WEB_LOBBY=URL (ws://HOST:PORT/ or wss://...) writes lobby.txt beside the page: the lobby
# server the page plays online through (without it: the page's own host at port 27820).
# SDL2, SDL2_mixer and FreeType are built from Debian's source packages and cached under
# ${POMRIN_CACHE:-$HOME/.cache/pomrin}. WEB_NATIVE=DIR reuses a native build tree (the native
# simulator and the data generator); by default build-web/native is built.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
MODE=build
case "${1:-}" in
    "") ;;
    --serve) MODE=serve ;;
    --test) MODE=test ;;
    *) echo "usage: scripts/web.sh [--serve | --test]" >&2; exit 2 ;;
esac

. scripts/deps.sh
. scripts/web_deps.sh
need_packages "${BUILD_PACKAGES[@]}" emscripten python3-fonttools dpkg-dev xz-utils curl
if [ "$MODE" = test ]; then
    need_packages chromium
    command -v npm >/dev/null || need_packages npm
fi
# Debian's emscripten finds its JavaScript tools among Debian's node modules.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
OUT=$ROOT/build-web
mkdir -p "$OUT"
T0=$(date +%s)

# The native side: the data generator and the native simulator the tests compare with.
NATIVE=${WEB_NATIVE:-$OUT/native}
if [ ! -e "$NATIVE/CMakeCache.txt" ]; then
    cmake -S . -B "$NATIVE" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOMRIN_TESTS=OFF -DPOMRIN_BENCH=OFF >/dev/null
fi
NATIVE_TARGETS=(pomrin-sim pomrin_data)
[ "$MODE" = test ] && NATIVE_TARGETS+=(pomrin-lobby)
cmake --build "$NATIVE" -j2 --target "${NATIVE_TARGETS[@]}" >/dev/null
NATIVE=$(cd "$NATIVE" && pwd)

web_deps
T1=$(date +%s)

# The page's data: the generated pictures and sounds and the font cut down to the game's text.
DATA=$OUT/data
rm -rf "$DATA"
mkdir -p "$DATA"
cp -r "$NATIVE/data/bmp" "$NATIVE/data/wav" "$DATA/"
IPAG=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
/usr/bin/python3 scripts/web_font.py src "$IPAG" /usr/share/doc/fonts-ipafont-gothic/copyright "$DATA/fonts" >/dev/null
# WEB_ORIGINAL_FONT=1 packs the original font as well, which the game then takes first.
if [ "${WEB_ORIGINAL_FONT:-0}" = 1 ]; then
    cp "$IPAG" "$DATA/fonts/ipag.ttf"
fi

PKG_CONFIG_PATH=$WEB_DEPS/lib/pkgconfig PKG_CONFIG_LIBDIR=$WEB_DEPS/lib/pkgconfig \
    emcmake cmake -S . -B "$OUT/wasm" -DCMAKE_BUILD_TYPE=Release -DPOMRIN_TESTS=OFF -DPOMRIN_BENCH=OFF \
    -DCMAKE_PREFIX_PATH="$WEB_DEPS" -DPOMRIN_WEB_DATA="$DATA" >"$OUT/wasm-configure.log" 2>&1 ||
    { tail -30 "$OUT/wasm-configure.log"; exit 1; }
# The packed data is read at link time, which the build does not track: link the page again.
rm -f "$OUT/wasm/pomrin.html"
emmake cmake --build "$OUT/wasm" -j2 >"$OUT/wasm-build.log" 2>&1 || { grep -B2 -A8 'error' "$OUT/wasm-build.log" | head -60; exit 1; }

PAGE=$OUT/page
rm -rf "$PAGE"
mkdir -p "$PAGE/fonts"
cp "$OUT/wasm/pomrin.html" "$OUT/wasm/pomrin.js" "$OUT/wasm/pomrin.wasm" "$OUT/wasm/pomrin.data" "$PAGE/"
cp "$DATA/fonts/IPA_Font_License_Agreement_v1.0.txt" "$DATA/fonts/README.txt" "$PAGE/fonts/"
if [ -n "${POMRIN_WEB_LOBBY:-}" ]; then
    case "$POMRIN_WEB_LOBBY" in
        ws://?* | wss://?*) printf '%s\n' "$POMRIN_WEB_LOBBY" >"$PAGE/lobby.txt" ;;
        *) echo "web: POMRIN_WEB_LOBBY must be a ws:// or wss:// URL" >&2; exit 2 ;;
    esac
fi
cp "$OUT/wasm/pomrin-sim.js" "$OUT/wasm/pomrin-sim.wasm" "$OUT/"
T2=$(date +%s)

echo "web: built in $((T2 - T0)) s (native tools and dependencies $((T1 - T0)) s); the page is $PAGE"
echo "web: page size by file (bytes raw, gzip -9):"
TOTAL_RAW=0
TOTAL_GZ=0
for f in $(cd "$PAGE" && find . -type f | sort); do
    raw=$(stat -c %s "$PAGE/$f")
    gz=$(gzip -9c "$PAGE/$f" | wc -c)
    TOTAL_RAW=$((TOTAL_RAW + raw))
    TOTAL_GZ=$((TOTAL_GZ + gz))
    printf '  %-44s %9d %9d\n' "${f#./}" "$raw" "$gz"
done
printf '  %-44s %9d %9d\n' total "$TOTAL_RAW" "$TOTAL_GZ"
if [ "$TOTAL_GZ" -gt 3145728 ] && [ "${WEB_ORIGINAL_FONT:-0}" != 1 ]; then
    echo "web: the page is over 3 MB compressed" >&2
    exit 1
fi

case "$MODE" in
    serve)
        echo "web: serving http://127.0.0.1:8090/pomrin.html (Ctrl+C stops)"
        exec /usr/bin/python3 -m http.server 8090 --bind 127.0.0.1 --directory "$PAGE"
        ;;
    test)
        tests/web/traces.sh "$NATIVE" "$OUT"
        tests/web/browser.sh "$NATIVE" "$OUT"
        ;;
esac
