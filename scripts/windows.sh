#!/usr/bin/env bash
# The Windows x86-64 build, made on this Debian machine with mingw-w64, and its zip.
#
#   scripts/windows.sh          builds pomrin.exe and the tools, makes pomrin-windows-x64.zip
#   scripts/windows.sh --test   the same, then tests the Windows programs under Wine
#
# SDL2, SDL2_mixer, FreeType, ENet and GoogleTest are cross-built from Debian's own source
# packages once and cached under ${POMRIN_CACHE:-$HOME/.cache/pomrin}, keyed by their versions
# and the compiler. The pictures and sounds are the ones the Linux build generates (build/data), so
# both builds ship byte-identical data.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
. scripts/deps.sh

TEST=0
for a in "$@"; do
    case "$a" in
        --test) TEST=1 ;;
        *) echo "usage: scripts/windows.sh [--test]" >&2; exit 2 ;;
    esac
done

T0=$(date +%s)
stamp() { echo "== windows: $* ($(($(date +%s) - T0)) s)"; }

WIN_PACKAGES=(g++-mingw-w64-x86-64-posix dpkg-dev zip unzip fonts-ipafont-gothic imagemagick curl xz-utils)
WINE_PACKAGES=(wine wine64 xvfb xauth xdotool x11-utils)
if [ "$TEST" = 1 ]; then
    need_packages "${BUILD_PACKAGES[@]}" "${WIN_PACKAGES[@]}" "${WINE_PACKAGES[@]}"
else
    need_packages "${BUILD_PACKAGES[@]}" "${WIN_PACKAGES[@]}"
fi
JOBS=$(nproc)
[ "$JOBS" -gt 2 ] && JOBS=2

# ---------------------------------------------------------------- dependencies
CACHE=${POMRIN_CACHE:-$HOME/.cache/pomrin}
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
RECIPE=1   # raise when the way the dependencies are built changes

src_version() { apt-cache showsrc "$1" | awk '/^Version:/ {print $2; exit}'; }

need_deb_src
SDL_V=$(src_version libsdl2)
MIX_V=$(src_version libsdl2-mixer)
FT_V=$(src_version freetype)
GTEST_V=$(dpkg-query -W -f='${Version}' googletest)
CC_V=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
KEY=$(printf '%s\n' "$RECIPE" "$SDL_V" "$MIX_V" "$FT_V" "$GTEST_V" "$CC_V" | cat - "$TOOLCHAIN" | sha256sum | cut -c1-16)
DEPS=$CACHE/win64-deps-$KEY
export POMRIN_WIN_DEPS=$DEPS

# One dependency: configure, build and install into $DEPS.tmp; a step already done by an
# interrupted earlier run is not done again.
dep_build() {
    local name=$1 src=$2
    shift 2
    [ -f "$WORK/.done-$name" ] && return
    stamp "building $name"
    cmake -S "$src" -B "$WORK/b-$name" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$DEPS.tmp" -DCMAKE_PREFIX_PATH="$DEPS.tmp" "$@" >/dev/null
    cmake --build "$WORK/b-$name" -j"$JOBS" >/dev/null 2>"$WORK/$name.err" || { cat "$WORK/$name.err" >&2; exit 1; }
    cmake --install "$WORK/b-$name" >/dev/null
    touch "$WORK/.done-$name"
}

build_deps() {
    WORK=$CACHE/win64-work-$KEY
    mkdir -p "$WORK"
    if [ ! -f "$WORK/.done-source" ]; then
        (cd "$WORK" && apt-get source -qq libsdl2="$SDL_V" libsdl2-mixer="$MIX_V" freetype="$FT_V" 2>&1 |
            grep -v -e '^W: Download is performed unsandboxed' -e '^dpkg-source: info' || true)
        touch "$WORK/.done-source"
    fi
    export POMRIN_WIN_DEPS=$DEPS.tmp
    dep_build freetype "$WORK/freetype-${FT_V%-*}" -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=ON \
        -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
    dep_build sdl2 "$WORK/libsdl2-${SDL_V%-*}" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
    dep_build sdl2-mixer "$WORK/libsdl2-mixer-${MIX_V%-*}" -DBUILD_SHARED_LIBS=ON -DSDL2MIXER_SAMPLES=OFF \
        -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
        -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS= -DSDL2MIXER_WAVE=ON -DSDL2MIXER_VENDORED=OFF
    dep_build googletest /usr/src/googletest -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=OFF
    export POMRIN_WIN_DEPS=$DEPS
    rm -rf "$DEPS"
    mv "$DEPS.tmp" "$DEPS"
    rm -rf "$WORK"
}

if [ ! -f "$DEPS/bin/SDL2.dll" ] || [ ! -f "$DEPS/bin/SDL2_mixer.dll" ]; then
    stamp "building the dependencies into $DEPS"
    build_deps
    # Older builds of the dependencies only take room.
    find "$CACHE" -maxdepth 1 -name 'win64-deps-*' ! -name "win64-deps-$KEY" -exec rm -rf {} +
fi

# ENet, a static library, from the source scripts/deps.sh fetches.
build_enet() {
    local work=$CACHE/win64-enet-work src
    src=$(enet_source "$work")
    local objs=()
    for c in callbacks compress host list packet peer protocol win32; do
        x86_64-w64-mingw32-gcc-posix -O2 -ffp-contract=off -I"$src/include" -c "$src/$c.c" -o "$work/$c.o"
        objs+=("$work/$c.o")
    done
    mkdir -p "$DEPS/lib" "$DEPS/include"
    rm -rf "$DEPS/include/enet"
    cp -r "$src/include/enet" "$DEPS/include/"
    x86_64-w64-mingw32-ar rcs "$DEPS/lib/libenet.a.tmp" "${objs[@]}"
    mv "$DEPS/lib/libenet.a.tmp" "$DEPS/lib/libenet.a"
    rm -rf "$work"
}
if [ ! -f "$DEPS/lib/libenet.a" ]; then
    stamp "building ENet into $DEPS"
    build_enet
fi
stamp "dependencies ready"

if [ "${POMRIN_DEPS_ONLY:-0}" = 1 ]; then exit 0; fi

# ---------------------------------------------------------------- the Linux data and simulator
# The pictures and sounds come from the Linux build (and, with --test, its simulator and soak
# test are what the Windows programs are compared with).
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ "$TEST" = 1 ]; then
    cmake --build build -j"$JOBS" --target pomrin_data pomrin-sim pomrin-lobby test_soak >/dev/null
else
    cmake --build build -j"$JOBS" --target pomrin_data >/dev/null
fi
stamp "Linux data ready"

# ---------------------------------------------------------------- the Windows programs
BW=$ROOT/build-win
mkdir -p "$BW"
WINE=/usr/lib/wine/wine64
export WINEPREFIX=$CACHE/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
# Test discovery and ctest start the Windows programs through this.
cat > "$BW/wine-run" <<EOW
#!/bin/sh
WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree=;mshtml=' exec $WINE "\$@"
EOW
chmod +x "$BW/wine-run"
# The program icon: the first fighter's face as the battle draws it large.
convert "build/data/bmp/バトルキャラ.bmp" -crop 64x64+0+128 +repage -transparent black \
    -define icon:auto-resize=256,64,48,32,16 "$BW/pomrin.ico"
cmake -S . -B "$BW" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$DEPS" -DPOMRIN_DATA_FROM="$ROOT/build/data" -DPOMRIN_BENCH=OFF -DPOMRIN_NET=ON \
    -DPOMRIN_TESTS=$([ "$TEST" = 1 ] && echo ON || echo OFF) -DCMAKE_CROSSCOMPILING_EMULATOR="$BW/wine-run" \
    >/dev/null
cmake --build "$BW" -j"$JOBS" 2>&1 | grep -E 'error|warning' || true
[ -f "$BW/pomrin.exe" ] || { echo "the Windows build failed" >&2; exit 1; }
# Windows looks for DLLs beside the program first.
for d in "$BW" "$BW/tools" "$BW/tests"; do
    [ -d "$d" ] && cp -u "$DEPS/bin/SDL2.dll" "$DEPS/bin/SDL2_mixer.dll" "$d/"
done
stamp "Windows programs built"

# Nothing but the two SDL libraries may be needed beside the programs.
for exe in "$BW/pomrin.exe" "$BW/tools/pomrin-sim.exe" "$BW/tools/keymap.exe"; do
    extra=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}' |
            grep -v -i -x -E 'SDL2.dll|SDL2_mixer.dll|KERNEL32.dll|USER32.dll|SHELL32.dll|ole32.dll|msvcrt.dll|ADVAPI32.dll|GDI32.dll|WINMM.dll|WS2_32.dll|IPHLPAPI.DLL|IMM32.dll|VERSION.dll|OLEAUT32.dll|SETUPAPI.dll|api-ms-win-.*' || true)
    [ -z "$extra" ] || { echo "$exe needs DLLs the zip does not ship: $extra" >&2; exit 1; }
done

# ---------------------------------------------------------------- the zip
VERSION=$(sed -n 's/^project(pomrin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
ZIPDIR=$BW/zip
TOP=pomrin-$VERSION
rm -rf "$ZIPDIR"
mkdir -p "$ZIPDIR/$TOP/data/fonts" "$ZIPDIR/$TOP/data/user_data"
cp "$BW/pomrin.exe" "$BW/tools/keymap.exe" "$DEPS/bin/SDL2.dll" "$DEPS/bin/SDL2_mixer.dll" "$ZIPDIR/$TOP/"
cp -r build/data/bmp build/data/wav "$ZIPDIR/$TOP/data/"
cp /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf "$ZIPDIR/$TOP/data/fonts/"
cp /usr/share/doc/fonts-ipafont-gothic/copyright "$ZIPDIR/$TOP/data/fonts/IPA_Font_License.txt"
x86_64-w64-mingw32-strip "$ZIPDIR/$TOP/"*.exe "$ZIPDIR/$TOP/"*.dll
{ printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$VERSION/g" -e 's/$/\r/' scripts/windows-readme.txt; } > "$ZIPDIR/$TOP/README.txt"
ZIP=$ROOT/pomrin-windows-x64.zip
rm -f "$ZIP"
(cd "$ZIPDIR" && zip -q -r -X "$ZIP" "$TOP")
stamp "$(basename "$ZIP"): $(du -k "$ZIP" | cut -f1) KB"

[ "$TEST" = 1 ] || exit 0
. scripts/windows-test.sh
