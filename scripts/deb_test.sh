#!/usr/bin/env bash
# The Debian package end to end: makes it (scripts/deb.sh), checks its fields and metadata,
# unpacks it (dpkg -x) and, under Xvfb, starts the game through its menu entry's command with
# a fresh home and an English locale. The options screen's save row must write the settings and
# the language into $XDG_DATA_HOME/pomrin/user_data/ and nothing may change in the unpacked data.
# usage: scripts/deb_test.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages desktop-file-utils appstream xvfb xauth xdotool x11-utils
BUILD=${1:-build}
START=$(date +%s)
DEB=$(scripts/deb.sh "$BUILD" | tail -1 | cut -d' ' -f1)
VERSION=$(sed -n 's/^project(pomrin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
T=$(mktemp -d /tmp/pomrin_deb_XXXXXX)
trap 'rm -rf "$T"' EXIT
fail() { echo "deb test: $*" >&2; exit 1; }

[ "$(dpkg-deb -f "$DEB" Version)" = "$VERSION" ] || fail "package version is not $VERSION"
[ "$(dpkg-deb -f "$DEB" Section)" = games ] || fail "section is not games"
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for lib in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libfreetype6 libfontconfig1 fonts-ipafont-gothic; do
    [[ ", $DEPENDS," == *", $lib"[\ ,]* ]] || fail "Depends lacks $lib: $DEPENDS"
done

R=$T/root
dpkg -x "$DEB" "$R"
S=$R/usr/share
for f in games/pomrin games/pomrin-keymap share/games/pomrin/bmp/タイトル.bmp share/games/pomrin/wav/決定.wav \
         share/icons/hicolor/scalable/apps/pomrin.svg share/man/man6/pomrin.6.gz; do
    [ -s "$R/usr/$f" ] || fail "the package lacks /usr/$f"
done
[ "$(od -An -tx1 -j16 -N8 "$S/icons/hicolor/256x256/apps/pomrin.png" | tr -d ' ')" = 0000010000000100 ] ||
    fail "the PNG icon is not 256 x 256"
desktop-file-validate "$S/applications/pomrin.desktop"
appstreamcli validate --no-net --pedantic "$S"/metainfo/*.metainfo.xml >/dev/null
grep -q "<release version=\"$VERSION\"" "$S"/metainfo/*.metainfo.xml || fail "the metainfo has no release $VERSION"

# The menu entry's command, resolved in the unpacked tree.
EXEC=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$S/applications/pomrin.desktop" | head -1)
WMCLASS=$(sed -n 's/^StartupWMClass=//p' "$S/applications/pomrin.desktop")
[ -x "$R$EXEC" ] || fail "Exec=$EXEC is not in the package"
BEFORE=$(cd "$S/games/pomrin" && find . -printf '%p %s %T@\n' | sort)
mkdir -p "$T/home" "$T/xdg" "$T/run"
chmod 700 "$T/run"
cat >"$T/play.sh" <<'PLAY'
# Title -> options, the keys $KEYS there (ending on the save row), then Escape.
cd "$HOME"
"$GAME" 2>"$HOME/game.err" &
PID=$!
WIN=$(xdotool search --sync --pid $PID | tail -1)
xprop -id "$WIN" WM_CLASS >"$HOME/wmclass"
xdotool getwindowname "$WIN" >"$HOME/winname"
xdotool windowfocus --sync "$WIN"
tap() { for k in "$@"; do xdotool keydown "$k"; sleep 0.1; xdotool keyup "$k"; sleep 0.3; done; }
sleep 2
tap Down Down Down z  # the options row: VS COM, two players, online, options
sleep 2
tap $KEYS
for _ in $(seq 100); do [ "$XDG_DATA_HOME/pomrin/user_data/Option.dat" -nt "$HOME/wmclass" ] && break; sleep 0.2; done
xdotool key Escape
wait $PID
PLAY
OPTION=$T/xdg/pomrin/user_data/Option.dat
SETTINGS=$T/xdg/pomrin/user_data/Settings.txt
play() {  # play KEYS WINDOW-TITLE: the game's window must have that title (its language)
    rm -f "$T/home/wmclass"
    # A private runtime folder: the single-instance lock of a game run elsewhere is not ours.
    HOME=$T/home XDG_DATA_HOME=$T/xdg XDG_RUNTIME_DIR=$T/run GAME=$R$EXEC SDL_AUDIODRIVER=dummy KEYS="$1" \
        LANG=C.UTF-8 LC_ALL= LC_MESSAGES= \
        xvfb-run -a -s "-screen 0 800x600x24" bash "$T/play.sh" ||
        fail "the game did not exit 0: $(cat "$T/home/game.err")"
    [ "$OPTION" -nt "$T/home/wmclass" ] || fail "no settings saved in \$XDG_DATA_HOME/pomrin/user_data"
    [ "$(stat -c %s "$OPTION")" = 40 ] || fail "the settings file is not 40 bytes"
    [ "$(od -An -td4 -N4 "$OPTION" | tr -d ' ')" = 5 ] || fail "the saved settings do not need 5 wins"
    [ "$(cat "$T/home/winname")" = "$2" ] || fail "the window's title is '$(cat "$T/home/winname")', not '$2'"
    [ "$(cat "$SETTINGS")" = "language ja" ] || fail "the saved language is not Japanese: $(cat "$SETTINGS")"
}
# In English, as the locale says: wins 3 -> 5, the language to Japanese, save; then a second start
# reads both back (in Japanese, whatever the locale) and saves them unchanged.
play "Right Right Down Down Down Down Down Down Down Left Down z" "Korokoro Pomrin"
play "Up Up z" "ころころポムリン"
grep -q "\"$WMCLASS\"" "$T/home/wmclass" ||
    fail "the window's class is not StartupWMClass=$WMCLASS: $(cat "$T/home/wmclass")"
[ "$(cd "$S/games/pomrin" && find . -printf '%p %s %T@\n' | sort)" = "$BEFORE" ] ||
    fail "the game wrote into its installed data folder"
[ -z "$(find "$T/home" -mindepth 1 -not -name game.err -not -name wmclass -not -name winname)" ] ||
    fail "the game wrote into the home folder"
echo "deb test: $(basename "$DEB") ($(du -k "$DEB" | cut -f1) KB) made, unpacked, started from its menu entry;"
echo "  settings and language saved to and read back from \$XDG_DATA_HOME/pomrin/user_data ($(($(date +%s) - START)) s)"

# ---------------------------------------------------------------- the lobby server's package
# Its fields and files, its unit (systemd-analyze verify: every setting known, the program and its
# manual page found), and the unpacked server met by the lobby's end-to-end test on 127.0.0.1
# (a meeting, the relay, the limits, exit 0 on SIGTERM).
need_packages systemd man-db
LOBBY_DEB=$BUILD/pomrin-lobby_${VERSION}_$(dpkg --print-architecture).deb
[ "$(dpkg-deb -f "$LOBBY_DEB" Version)" = "$VERSION" ] || fail "the lobby package's version is not $VERSION"
[[ "$(dpkg-deb -f "$LOBBY_DEB" Depends)" == *libstdc++6* ]] || fail "the lobby package's Depends lacks libstdc++6"
[ "$(dpkg-deb -I "$LOBBY_DEB" conffiles)" = /etc/default/pomrin-lobby ] || fail "the lobby's defaults file is no conffile"
[[ "$(dpkg-deb -c "$DEB")" != *lobby* ]] || fail "the game's package holds lobby files"
L=$T/lobby
dpkg -x "$LOBBY_DEB" "$L"
UNIT=$L/usr/lib/systemd/system/pomrin-lobby.service
for f in "$UNIT" "$L/etc/default/pomrin-lobby" "$L/usr/share/man/man1/pomrin-lobby.1.gz"; do
    [ -s "$f" ] || fail "the lobby package lacks ${f#"$L"}"
done
LOBBY_BIN=$(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$UNIT")
[ -x "$L$LOBBY_BIN" ] || fail "ExecStart=$LOBBY_BIN is not in the lobby package"
grep -q '^DynamicUser=yes$' "$UNIT" || fail "the unit does not run the server as a user of its own"
# The unit as installed, its program taken from the unpacked tree.
mkdir -p "$T/unit"
sed "s|^ExecStart=/|ExecStart=$L/|" "$UNIT" >"$T/unit/pomrin-lobby.service"
VERIFY=$(MANPATH=$L/usr/share/man systemd-analyze verify "$T/unit/pomrin-lobby.service" 2>&1) &&
    [ -z "$VERIFY" ] || fail "systemd-analyze verify: $VERIFY"
cmake --build "$BUILD" --target test_lobby >/dev/null
POMRIN_LOBBY_SERVER=$L$LOBBY_BIN "$BUILD/tests/test_lobby" --gtest_brief=1 >"$T/lobby.log" 2>&1 ||
    fail "the unpacked lobby server: $(cat "$T/lobby.log")"
echo "deb test: $(basename "$LOBBY_DEB") ($(du -k "$LOBBY_DEB" | cut -f1) KB) made, unpacked, its unit verified;"
echo "  the unpacked server introduced, relayed and stopped on SIGTERM"
