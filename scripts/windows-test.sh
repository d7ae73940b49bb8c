# The Windows programs under Wine; sourced by scripts/windows.sh --test after the build.
# 1. the test suite's Windows programs; 2. the simulator's traces, sound logs and pictures
# against the Linux simulator's; 3. the game itself in a virtual X display.

# ---------------------------------------------------------------- Wine
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    stamp "creating the Wine prefix $WINEPREFIX"
    DISPLAY= "$WINE" wineboot -i >/dev/null 2>&1 || true
    "$(dirname "$WINE")/wineserver" -w || true
fi
# IPA Gothic as an installed system font, as fontconfig offers it to the Linux programs.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -u /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
OUT=$BW/wine-test
rm -rf "$OUT"
mkdir -p "$OUT"
FAILED=0
fail() {
    echo "FAILED: $*" >&2
    FAILED=1
}
sim() {  # linux|windows, arguments: that system's simulator
    if [ "$1" = linux ]; then build/tools/pomrin-sim "${@:2}"; else "$WINE" "$BW/tools/pomrin-sim.exe" "${@:2}"; fi
}
poll() {  # seconds, command...: runs the command every 0.2 s until it prints something; prints that
    local n out=""
    for n in $(seq $(($1 * 5))); do
        out=$("${@:2}" 2>/dev/null) && [ -n "$out" ] && break
        sleep 0.2
    done
    echo "$out"
}

# ---------------------------------------------------------------- 1. test programs
stamp "test programs under Wine"
SDL_AUDIODRIVER=dummy ctest --test-dir "$BW" -j"$JOBS" -E '^test_soak$' --output-on-failure || fail "Windows test programs"

# ---------------------------------------------------------------- 2. the same traces as on Linux
# Runs both simulators on one input with one settings file; every output must match byte for byte.
compare_sims() {
    local name=$1 script=$2 frames=$3 option=${4:-}
    local d=$OUT/$name
    mkdir -p "$d/data/user_data" "$d/linux" "$d/windows"
    ln -sfn "$ROOT/build/data/bmp" "$d/data/bmp"
    ln -sfn "$ROOT/build/data/wav" "$d/data/wav"
    # The font the zip ships, for both: the Linux simulator would otherwise find the system's.
    mkdir -p "$d/data/fonts"
    ln -sfn /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf "$d/data/fonts/ipag.ttf"
    for side in linux windows; do
        rm -f "$d/data/user_data/Option.dat"
        [ -n "$option" ] && cp "$option" "$d/data/user_data/Option.dat"
        sim $side --data "$d/data" --input "$script" --frames "$frames" --shot-every 500 --trace "$d/$side/trace.jsonl" \
            --sounds "$d/$side/sounds.txt" --shots "$d/$side/shots" 2>"$d/$side/stderr.txt" ||
            fail "$name: the $side simulator exited with $?"
    done
    if diff -r -q "$d/linux" "$d/windows" >/dev/null; then
        echo "$name: $(wc -l < "$d/linux/trace.jsonl") frames, $(wc -l < "$d/linux/sounds.txt") sounds," \
             "$(ls "$d/linux/shots" | wc -l) pictures: the same on Windows"
    else
        diff -r -q "$d/linux" "$d/windows" >&2 || true
        fail "$name: Windows differs from Linux"
    fi
}
stamp "simulator traces, Linux against Windows"
compare_sims two_players "$ROOT/tests/match/match.txt" 2200
# VS COM at strength 4 in normal battle: the title's first row, fighters 3 and 7.
compare_sims vs_com "$ROOT/tests/match/vs_com.txt" 9000 "$ROOT/tests/match/option_com4.dat"

# Random sessions: the soak test on both systems keeps every session's files and outputs.
SOAK_FRAMES=${POMRIN_WIN_SOAK_FRAMES:-200000}
POMRIN_SOAK_FRAMES=$SOAK_FRAMES POMRIN_SOAK_KEEP="$OUT/soak-linux" build/tests/test_soak --gtest_brief=1 \
    >"$OUT/soak-linux.txt" || fail "Linux soak"
POMRIN_SOAK_FRAMES=$SOAK_FRAMES POMRIN_SOAK_KEEP="Z:$OUT/soak-windows" "$WINE" "$BW/tests/test_soak.exe" \
    --gtest_brief=1 >"$OUT/soak-windows.txt" || fail "Windows soak"
nSessions=0
for s in "$OUT"/soak-linux/[0-9]*; do
    w=$OUT/soak-windows/$(basename "$s")
    for f in trace.jsonl sounds.txt stderr.txt data/user_data/Option.dat data/user_data/Settings.txt; do
        [ -e "$s/$f" ] || continue
        cmp -s "$s/$f" "$w/$f" || fail "soak session $(basename "$s"): $f differs"
    done
    nSessions=$((nSessions + 1))
done
echo "random sessions: $nSessions sessions, $(cat "$OUT"/soak-linux/[0-9]*/trace.jsonl | wc -l) frames compared"
[ "$nSessions" -gt 0 ] || fail "no soak sessions"
rm -rf "$OUT/soak-linux" "$OUT/soak-windows"
stamp "simulators compared"

# ---------------------------------------------------------------- 2b. online play
# The net test's match (tests/netplay): between two Windows simulators; between a Linux host and
# a Windows guest over 50 +- 10 ms lag each way with 5 % loss; and by room code through a Linux
# pomrin-lobby on loopback, the Windows simulator hosting. Both sides trace the same 1950 frames,
# the record is the one the Linux test keeps, and the Linux replay of it agrees.
stamp "online play"
NETDIR=$ROOT/tests/netplay
net_match() {  # name, the host's system, the guest's system, flags for both; LOBBY set: by room code
    local name=$1 host=$2 guest=$3 o=$OUT/$1 port=$((20000 + RANDOM % 30000)) join lobby=()
    shift 3
    mkdir -p "$o"
    [ -z "${LOBBY:-}" ] || lobby=(--lobby "$LOBBY")
    sim $host --data "$ROOT/build/data" --host $port "${lobby[@]}" --input "$NETDIR/host.txt" --frames 1950 \
        --trace "$o/host.trace" --net-record "$o/match.rec" --net-stats --net-timeout 60 "$@" >"$o/host.out" 2>"$o/host.err" &
    local hostpid=$!
    join=127.0.0.1:$port
    [ -z "${LOBBY:-}" ] || join=$(poll 60 awk '/^room /{sub(/\r$/, ""); print $2; exit}' "$o/host.out")
    [ -n "$join" ] || { kill $hostpid 2>/dev/null || true; fail "$name: the host printed no room code"; }
    sim $guest --data "$ROOT/build/data" --join "${join:-none}" "${lobby[@]}" --input "$NETDIR/guest.txt" --frames 1950 \
        --trace "$o/guest.trace" --net-stats --net-timeout 60 "$@" >"$o/guest.out" 2>"$o/guest.err" ||
        fail "$name: the guest exited with $?"
    wait $hostpid || fail "$name: the host exited with $?"
    sim linux --replay "$o/match.rec" --trace "$o/replay.trace" 2>/dev/null || fail "$name: the record does not replay"
    if [ "$(wc -l < "$o/host.trace" 2>/dev/null)" = 1950 ] && cmp -s "$o/host.trace" "$o/guest.trace" &&
        cmp -s "$o/host.trace" "$o/replay.trace" && cmp -s "$o/match.rec" "$NETDIR/match.rec" &&
        { [ -z "${LOBBY:-}" ] || grep -q "room $join joined" "$OUT/lobby.log"; }; then
        echo "$name: host, guest and replay agree over 1950 frames ${LOBBY:+(room $join through pomrin-lobby)};" \
             "$(grep -h 'net stats' "$o/guest.err" | sed 's/.*net stats: //')"
    else
        cat "$o/host.err" "$o/guest.err" >&2
        fail "$name: the two sides or the record differ"
    fi
}
net_match windows_windows windows windows
net_match linux_windows linux windows --net-lag 50 --net-jitter 10 --net-loss 5 --net-seed 3
. "$ROOT/tests/support/lobby.sh"
start_lobby "$ROOT/build" "$OUT/lobby.log" && net_match lobby_windows_linux windows linux || fail "pomrin-lobby did not start"
kill -TERM $LOBBYPID 2>/dev/null || true
wait $LOBBYPID || fail "lobby: pomrin-lobby exited with $? on SIGTERM"
stamp "online play compared"

# ---------------------------------------------------------------- 3. the game under Xvfb
# The zip unpacked into a folder whose path has Japanese and spaces; started from elsewhere,
# as a double-click would, so the game finds its data beside the program.
GAMEDIR="$OUT/ゲーム フォルダ"
mkdir -p "$GAMEDIR"
(cd "$GAMEDIR" && unzip -q "$ZIP")
GAME="$GAMEDIR/$TOP/pomrin.exe"
for f in pomrin.exe keymap.exe SDL2.dll SDL2_mixer.dll README.txt data/fonts/ipag.ttf data/fonts/IPA_Font_License.txt \
         "data/bmp/タイトル.bmp" "data/wav/死.wav" data/user_data; do
    [ -e "$GAMEDIR/$TOP/$f" ] || fail "the zip has no $f"
done
OPTION="$GAMEDIR/$TOP/data/user_data/Option.dat"
SETTINGS="$GAMEDIR/$TOP/data/user_data/Settings.txt"

v=$("$WINE" "$GAME" --version 2>&1 | tr -d '\r') || true
[ "$v" = "pomrin $VERSION" ] && echo "--version: $v" || fail "--version printed '$v'"

# Wine's desktop process started by the programs above has no display: end it first.
"$(dirname "$WINE")/wineserver" -k 2>/dev/null || true
"$(dirname "$WINE")/wineserver" -w 2>/dev/null || true
DISPLAY_NUM=:$((90 + RANDOM % 100))
Xvfb "$DISPLAY_NUM" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
export DISPLAY=$DISPLAY_NUM
poll 10 xdpyinfo >/dev/null

answer_box() {  # name: presses Return in the box with that title until it closes
    local box
    box=$(wait_window "$1" 60)
    [ -n "$box" ] || return 1
    for _ in 1 2 3 4 5; do
        sleep 1
        xdotool windowfocus "$box" 2>/dev/null || true
        sleep 0.5
        xdotool key Return
        sleep 1
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    done
}
wait_window() {  # name, seconds: the id of a visible window with that title
    poll $2 xdotool search --onlyvisible --limit 1 --name "$1"
}
press() {  # holds each key for a few frames, as a player would
    for k in "$@"; do
        xdotool keydown "$k"; sleep 0.08; xdotool keyup "$k"; sleep 0.25
    done
}

(cd / && SDL_AUDIODRIVER=dummy exec "$WINE" "$GAME" --lang ja) &
GAMEPID=$!
WIN=$(wait_window "ころころポムリン" 60)
if [ -z "$WIN" ]; then
    fail "the game's window did not open"
else
    xdotool windowfocus "$WIN" 2>/dev/null || true
    sleep 2
    # A second copy finds the first, shows its box and exits 0.
    (set +eE; trap - ERR; cd / && SDL_AUDIODRIVER=dummy "$WINE" "$GAME" --lang ja; echo $? > "$OUT/second.rc") &
    answer_box "二重起動" || fail "the second copy showed no box"
    rc=$(poll 30 cat "$OUT/second.rc")
    [ "$rc" = 0 ] || fail "the second copy exited with $rc"
    xdotool windowfocus "$WIN" 2>/dev/null || true
    sleep 1

    # Options: wins needed 3 -> 4 and the language to English, save; 4 -> 5 and back to
    # Japanese, save again over the first files.
    press Down Down Down z  # the options row, after the online row
    sleep 1.5
    press Right Down Down Down Down Down Down Down Right Down z
    sleep 0.5
    first=$(od -An -tu1 -N1 "$OPTION" 2>/dev/null | tr -d ' ')
    firstlang=$(cat "$SETTINGS" 2>/dev/null)
    press Up Up Up Up Up Up Up Up Right Down Down Down Down Down Down Down Right Down z
    sleep 0.5
    second=$(od -An -tu1 -N1 "$OPTION" 2>/dev/null | tr -d ' ')
    secondlang=$(cat "$SETTINGS" 2>/dev/null)
    size=$(stat -c %s "$OPTION" 2>/dev/null || echo 0)
    if [ "$first" = 4 ] && [ "$second" = 5 ] && [ "$size" = 40 ] && [ "$firstlang" = "language en" ] &&
        [ "$secondlang" = "language ja" ]; then
        echo "settings saved twice: wins needed $first, then $second, language en, then ja (the second save replaced the first)"
    else
        fail "settings saves: first '$first' '$firstlang', second '$second' '$secondlang', $size bytes"
    fi
    ls "$GAMEDIR/$TOP/data/user_data" | grep -v '^Option.dat$' | grep -v '^Settings.txt$' &&
        fail "a temporary file was left in user_data"

    # Back to the title, then VS COM into character select.
    press x
    sleep 1.5
    press Up Up z
    sleep 2.5
    import -window root "$OUT/select.png"
    cp "$OUT/select.png" "$ROOT/build-win/wine-select.png"
    echo "screenshot of the character select: build-win/wine-select.png"
    press Escape
    for _ in $(seq 100); do kill -0 "$GAMEPID" 2>/dev/null || break; sleep 0.2; done
    wait "$GAMEPID" && echo "Escape: the game exited with 0" || fail "the game exited with $? after Escape"
fi

# A start-up failure shows its box and exits 1. The system is English here; the box is in
# Japanese, the language saved above.
(set +eE; trap - ERR; cd / && LANG=C.UTF-8 LC_ALL= LC_MESSAGES= SDL_AUDIODRIVER=no_such_driver "$WINE" "$GAME"
 echo $? > "$OUT/fail.rc") &
answer_box "エラー" && echo "the saved language read back: the box in Japanese on an English system" ||
    fail "no box in Japanese, the saved language, for the failed start-up"
rc=$(poll 30 cat "$OUT/fail.rc")
[ "$rc" = 1 ] && echo "failed start-up: box and exit code 1" || fail "the failed start-up exited with $rc"

# Online: the Windows game hosts and the Linux simulator joins; both press their first button
# again and again, which chooses the characters and skills whatever the timing, into a fight;
# after 1500 frames the simulator leaves and the game carries on alone and ends with Escape.
for f in $(seq 60 40 1460); do echo "$f J0=32767,32767,1"; echo "$((f + 1)) J0=32767,32767,0"; done \
    >"$OUT/netgame-guest.txt"
# The zip's game hosts from its command line (players use the title's online row).
PORT=$((20000 + RANDOM % 30000))
(cd / && SDL_AUDIODRIVER=dummy "$WINE" "$GAME" --host $PORT) &
WIN=$(wait_window "ころころポムリン" 60)
if [ -z "$WIN" ]; then
    fail "the hosting game's window did not open"
else
    sim linux --data "$ROOT/build/data" --join 127.0.0.1:$PORT --input "$OUT/netgame-guest.txt" \
        --frames 1500 --trace "$OUT/netgame-guest.trace" 2>"$OUT/netgame-guest.err" &
    SIMPID=$!
    sleep 2
    xdotool windowfocus "$WIN" 2>/dev/null || true
    for _ in $(seq 8); do press z; sleep 0.4; done
    sleep 2
    import -window root "$ROOT/build-win/wine-net-fight.png"
    rc=0
    wait $SIMPID || rc=$?
    if [ "$rc" = 0 ] && grep -q "net: connected" "$OUT/netgame-guest.err" &&
        grep -q '"scene":2' "$OUT/netgame-guest.trace"; then
        echo "the Windows game hosted the Linux simulator into a fight (screenshot: build-win/wine-net-fight.png)"
    else
        cat "$OUT/netgame-guest.err" >&2
        fail "the Linux guest of the Windows game: exit code $rc, no fight"
    fi
    sleep 2
    import -window root "$ROOT/build-win/wine-net-left.png"
    xdotool windowfocus "$WIN" 2>/dev/null || true
    press Escape
    for _ in $(seq 100); do xdotool search --onlyvisible --name "ころころポムリン" >/dev/null 2>&1 || break; sleep 0.2; done
    xdotool search --onlyvisible --name "ころころポムリン" >/dev/null 2>&1 &&
        fail "the hosting game did not end on Escape" || echo "the hosting game ended on Escape after its guest left"
fi

kill "$XVFB" 2>/dev/null || true
"$(dirname "$WINE")/wineserver" -k 2>/dev/null || true
unset DISPLAY

stamp "Windows leg done"
[ "$FAILED" = 0 ] || { echo "The Windows leg FAILED" >&2; exit 1; }
echo "The Windows leg passed."
