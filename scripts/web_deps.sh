# Sourced by web.sh: SDL2, SDL2_mixer and FreeType built for the browser with emscripten from
# Debian's source packages (emscripten's own ports would download them). The result is cached
# outside the clone, keyed by the compiler and the source versions, in $WEB_DEPS (a prefix with
# include/ and lib/).
# Usage: web_deps   (sets WEB_DEPS)

WEB_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Bump when the recipe below changes, so an old cache is not reused.
WEB_DEPS_RECIPE=1

web_src_version() {
    apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -1
}

# SDL2_mixer's CMake build installs no pkg-config file for a static library; the game's build
# looks the mixer up with pkg-config.
web_mixer_pc() {
    local pc=$WEB_DEPS/lib/pkgconfig/SDL2_mixer.pc
    [ -e "$pc" ] && return 0
    cat >"$pc" <<PC
prefix=$WEB_DEPS
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SDL2_mixer
Description: mixer library for SDL
Version: ${v_mix%%+*}
Requires: sdl2
Libs: -L\${libdir} -lSDL2_mixer
Cflags: -I\${includedir}/SDL2
PC
}

web_deps() {
    need_deb_src
    local v_sdl v_mix v_ft v_emcc key cache
    v_sdl=$(web_src_version libsdl2)
    v_mix=$(web_src_version libsdl2-mixer)
    v_ft=$(web_src_version freetype)
    v_emcc=$(emcc -dumpversion)
    key="emcc${v_emcc}_sdl${v_sdl}_mix${v_mix}_ft${v_ft}_r${WEB_DEPS_RECIPE}"
    key=${key//[^A-Za-z0-9._-]/_}
    cache=${POMRIN_CACHE:-$HOME/.cache/pomrin}
    WEB_DEPS=$cache/web-deps/$key
    if [ -e "$WEB_DEPS/.done" ]; then
        echo "web: dependencies from the cache ($WEB_DEPS)"
        web_mixer_pc
        web_enet
        return 0
    fi
    echo "web: building SDL2 $v_sdl, SDL2_mixer $v_mix and FreeType $v_ft with emscripten $v_emcc"
    local work=$cache/web-deps/work-$key
    rm -rf "$work" "$WEB_DEPS"
    mkdir -p "$work/src"
    (cd "$work/src" && apt-get source -qq libsdl2 libsdl2-mixer freetype >/dev/null 2>&1) || {
        echo "apt-get source failed" >&2; exit 1; }
    local d_sdl d_mix d_ft
    d_sdl=$(find "$work/src" -maxdepth 1 -type d -name 'libsdl2-2*' | head -1)
    d_mix=$(find "$work/src" -maxdepth 1 -type d -name 'libsdl2-mixer-*' | head -1)
    d_ft=$(find "$work/src" -maxdepth 1 -type d -name 'freetype-*' | head -1)
    local jobs; jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2
    local common=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$WEB_DEPS" -DBUILD_SHARED_LIBS=OFF
                  -DCMAKE_C_FLAGS="-ffp-contract=off")
    # Known configure answers for this compiler and SDL, when recorded, save most of the configure time.
    local seed=()
    local seed_file=$WEB_SCRIPTS/web_sdl_checks-emcc${v_emcc}-sdl${v_sdl%%+*}.cmake
    [ -e "$seed_file" ] && seed=(-C "$seed_file")
    emcmake cmake "${seed[@]}" -S "$d_sdl" -B "$work/b-sdl" "${common[@]}" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
        -DSDL_PTHREADS=OFF -DSDL_THREADS=OFF >"$work/sdl.log" 2>&1
    emmake cmake --build "$work/b-sdl" -j"$jobs" >>"$work/sdl.log" 2>&1 || { tail -30 "$work/sdl.log"; exit 1; }
    cmake --install "$work/b-sdl" >>"$work/sdl.log" 2>&1
    # The game hands the mixer raw samples: no decoders.
    emcmake cmake -S "$d_mix" -B "$work/b-mix" "${common[@]}" -DSDL2_DIR="$WEB_DEPS/lib/cmake/SDL2" \
        -DCMAKE_PREFIX_PATH="$WEB_DEPS" -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_VENDORED=OFF \
        -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
        -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_INSTALL=ON >"$work/mix.log" 2>&1 ||
        { tail -30 "$work/mix.log"; exit 1; }
    emmake cmake --build "$work/b-mix" -j"$jobs" >>"$work/mix.log" 2>&1 || { tail -30 "$work/mix.log"; exit 1; }
    cmake --install "$work/b-mix" >>"$work/mix.log" 2>&1
    # FreeType reads the one TrueType font: no compressed fonts, no PNG glyphs, no shaping.
    emcmake cmake -S "$d_ft" -B "$work/b-ft" "${common[@]}" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
        -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON >"$work/ft.log" 2>&1 ||
        { tail -30 "$work/ft.log"; exit 1; }
    emmake cmake --build "$work/b-ft" -j"$jobs" >>"$work/ft.log" 2>&1 || { tail -30 "$work/ft.log"; exit 1; }
    cmake --install "$work/b-ft" >>"$work/ft.log" 2>&1
    web_mixer_pc
    touch "$WEB_DEPS/.done"
    rm -rf "$work"
    web_enet
}

# ENet without its socket layer (unix.c): in the browser the game's own layer
# (src/platform/web/net/) carries its datagrams over a WebSocket.
web_enet() {
    [ -e "$WEB_DEPS/lib/libenet.a" ] && return 0
    echo "web: building ENet with emscripten"
    local work=$cache/web-deps/enet-work src objs=()
    src=$(enet_source "$work")
    for c in callbacks compress host list packet peer protocol; do
        emcc -O2 -ffp-contract=off -I"$src/include" -c "$src/$c.c" -o "$work/$c.o"
        objs+=("$work/$c.o")
    done
    mkdir -p "$WEB_DEPS/include" "$WEB_DEPS/lib"
    rm -rf "$WEB_DEPS/include/enet"
    cp -r "$src/include/enet" "$WEB_DEPS/include/"
    emar rcs "$WEB_DEPS/lib/libenet.a.tmp" "${objs[@]}"
    mv "$WEB_DEPS/lib/libenet.a.tmp" "$WEB_DEPS/lib/libenet.a"
    rm -rf "$work"
}
