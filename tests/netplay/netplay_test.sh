#!/usr/bin/env bash
# Two simulators play each other over the loopback network.
#   netplay_test.sh SIM CASE   CASE: match | nodelay | busy | desync | cutoff
# match: a whole two-player match (select, three rounds, result, back to select) while a third
#   simulator tries to join, garbage datagrams hit the host's port and the guest's input words
#   carry bits outside the eight input bits; the host's and the guest's traces are identical,
#   equal to the replay of the net record and to the expected trace. The guest plays in English,
#   the host in Japanese: the language changes nothing they share.
# nodelay: input delay 0: host, guest and replay agree; damaged records are refused with exit
#   code 2 and the line at fault; a record that goes on past the title (to the options screen and
#   its save row) stops at the title and writes no settings file.
# busy: both players' keys change every few frames through select and battle, over 60 +- 30 ms
#   lag with 10 % loss: many rollbacks, and still host, guest and replay agree.
# desync: the guest's state is disturbed on one frame: both report it, write a report into
#   user_data/ and go on locally.
# cutoff: the guest is killed mid-battle: the host reports the lost connection, goes back to its
#   title and ends normally; a guest with no host exits with code 3 after its timeout.
set -uo pipefail
SIM=$1
CASE=$2
HERE=$(cd "$(dirname "$0")" && pwd)
OUT=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$OUT"' EXIT
# A port of our own: several runs may share the machine.
PORT=$((20000 + ($$ * 7 + ${#CASE} * 1000) % 30000))
FRAMES=1950
fail() { echo "FAIL ($CASE): $*"; for f in "$OUT"/*.err; do echo "--- $f"; cat "$f"; done; exit 1; }

HOSTSCRIPT=$HERE/host.txt
GUESTSCRIPT=$HERE/guest.txt
GUESTFLAGS=()
play() {  # play NAME-PREFIX EXTRA-FLAGS...: host and guest of one match, both must exit 0
    local p=$1; shift
    "$SIM" --host $PORT --input "$HOSTSCRIPT" --frames $FRAMES --trace "$OUT/$p-host.trace" \
        --net-record "$OUT/$p.rec" --net-stats "$@" 2>"$OUT/$p-host.err" &
    local host=$!
    "$SIM" --join 127.0.0.1:$PORT --input "$GUESTSCRIPT" --frames $FRAMES --trace "$OUT/$p-guest.trace" \
        --net-stats "${GUESTFLAGS[@]}" "$@" 2>"$OUT/$p-guest.err" &
    local guest=$!
    wait $guest || fail "guest exit code $?"
    wait $host || fail "host exit code $?"
    cmp -s "$OUT/$p-host.trace" "$OUT/$p-guest.trace" || fail "host and guest traces differ"
    [ "$(wc -l <"$OUT/$p-host.trace")" = $FRAMES ] || fail "trace is not $FRAMES frames"
    "$SIM" --replay "$OUT/$p.rec" --trace "$OUT/$p-replay.trace" 2>"$OUT/$p-replay.err" || fail "replay failed"
    cmp -s "$OUT/$p-host.trace" "$OUT/$p-replay.trace" || fail "replay trace differs"
    grep -h "net stats" "$OUT/$p-host.err" "$OUT/$p-guest.err"
}

scenes() {  # the scenes a trace goes through, one digit each
    awk -F'"scene":' '{split($2,a,","); s=a[1]; if (s!=last) {seq=seq s; last=s}} END {print seq}' "$1"
}
# The match as played: player 1 wins three rounds, the scene goes back to the select (1) after
# the battle (2), and the second battle starts.
check_match() {
    grep -q '"p1":{[^}]*"win":3' "$1" || fail "player 1 never reached three wins"
    scenes "$1" | grep -qx '1212' || fail "scenes are not select, battle, select, battle"
}

case $CASE in
match)
    # The garbage and the third simulator arrive while the two play.
    ( sleep 5; "$SIM" --join 127.0.0.1:$PORT --frames 10 --net-timeout 20 2>"$OUT/third.err"; echo $? >"$OUT/third.rc" ) &
    ( sleep 8; for i in $(seq 1 50); do
          printf 'garbage %d \x00\xff\x17' $i >/dev/udp/127.0.0.1/$PORT 2>/dev/null
          head -c $((i * 7 % 300 + 1)) /dev/urandom >/dev/udp/127.0.0.1/$PORT 2>/dev/null
          sleep 0.05
      done ) &
    GUESTFLAGS=(--lang en --net-junk-bits)
    play m
    wait
    check_match "$OUT/m-host.trace"
    # The record kept with the tests (match.rec, made by this match) is still what the match records.
    cmp -s "$OUT/m.rec" "$HERE/match.rec" || fail "the net record differs from tests/netplay/match.rec"
    grep -q "refused by the host" "$OUT/third.err" || fail "the third simulator was not refused"
    [ "$(cat "$OUT/third.rc")" = 0 ] || fail "the refused simulator did not go on locally"
    grep -q "another guest was refused" "$OUT/m-host.err" || fail "the host did not report the refusal"
    ;;
nodelay)
    play z --net-delay 0
    bad() {  # bad NAME SED-EXPRESSION: the record changed so, its replay must be refused
        sed "$2" "$OUT/z.rec" >"$OUT/bad-$1.rec"
        "$SIM" --replay "$OUT/bad-$1.rec" --frames 10 2>"$OUT/bad-$1.out" && fail "damaged record ($1) was played"
        [ $? = 2 ] && grep -q "line" "$OUT/bad-$1.out" || fail "damaged record ($1): no exit code 2 with the line"
    }
    bad magic '1s/.*/pomrin-net-record 9/'
    bad wins '3s/settings 03/settings 09/'
    bad speed '3s/f03f/f07f/'
    bad order '10d'
    bad word '20s/ [0-9a-f]*$/ 100/'
    bad frame '30s/^[0-9]*/99999999999/'
    # Select, button 2 (back to the title), down to the options, button 1; right on the wins
    # needed, down to the save row, button 1. The replay runs with a data folder of its own.
    mkdir "$OUT/data" "$OUT/data/user_data"
    for f in "$(cd "$(dirname "$SIM")/../data" && pwd)"/*; do [ "${f##*/}" = user_data ] || ln -s "$f" "$OUT/data/"; done
    head -3 "$OUT/z.rec" >"$OUT/past.rec"
    awk 'function press(w, n) { print f++, w, 0; for (i = 0; i < n; i++) print f++, 0, 0 }
        BEGIN { press(0, 59); press(20, 150); press(8, 15); press(10, 120); press(2, 15)
                for (k = 0; k < 7; k++) press(8, 15); press(10, 100) }' >>"$OUT/past.rec"
    "$SIM" --data "$OUT/data" --replay "$OUT/past.rec" --trace "$OUT/past.trace" 2>"$OUT/past.err" ||
        fail "the record past the title did not replay"
    [ "$(grep -c '"scene":0' "$OUT/past.trace")" = 1 ] && tail -1 "$OUT/past.trace" | grep -q '"scene":0' ||
        fail "the replay did not stop at the first title frame"
    [ -e "$OUT/data/user_data/Option.dat" ] && fail "the replay wrote the settings file"
    ;;
busy)
    # Random keys, a change every 1 to 12 frames (busy_host.txt, busy_guest.txt).
    HOSTSCRIPT=$HERE/busy_host.txt GUESTSCRIPT=$HERE/busy_guest.txt FRAMES=1500
    play b --net-lag 60 --net-jitter 30 --net-loss 10 --net-seed 5
    grep -q '"scene":2' "$OUT/b-host.trace" || fail "the busy session never reached a battle"
    grep -q "rollbacks [1-9][0-9]" "$OUT/b-host.err" || fail "fewer than 10 rollbacks: the test did not test them"
    ;;
desync)
    REPORTS=$(dirname "$SIM")/../data/user_data
    rm -f "$REPORTS"/netdesync-*
    "$SIM" --host $PORT --input "$HERE/host.txt" --frames 600 2>"$OUT/d-host.err" &
    host=$!
    "$SIM" --join 127.0.0.1:$PORT --input "$HERE/guest.txt" --frames 600 --net-desync-at 40 2>"$OUT/d-guest.err" ||
        fail "guest exit code $?"
    wait $host || fail "host exit code $?"
    grep -q "desync" "$OUT/d-host.err" || fail "the host did not report the desync"
    grep -q "desync" "$OUT/d-guest.err" || fail "the guest did not report the desync"
    grep -l "^frame 59$" "$REPORTS"/netdesync-* >/dev/null || fail "no desync report naming frame 59"
    rm -f "$REPORTS"/netdesync-*
    ;;
cutoff)
    "$SIM" --host $PORT --input "$HERE/host.txt" --frames 3000 --trace "$OUT/c-host.trace" \
        2>"$OUT/c-host.err" &
    host=$!
    "$SIM" --join 127.0.0.1:$PORT --input "$HERE/guest.txt" --frames 3000 2>"$OUT/c-guest.err" &
    guest=$!
    # Meanwhile a guest that finds no host gives up after its timeout with exit code 3.
    "$SIM" --join 127.0.0.1:$((PORT + 1)) --net-timeout 1 --frames 10 2>"$OUT/c-lonely.err"
    rc=$?
    [ $rc = 3 ] || fail "a guest without a host exited with $rc, not 3"
    grep -q "no host answered" "$OUT/c-lonely.err" || fail "no message from the guest without a host"
    # Mid-battle: the first round starts about 1 s after the select, the match lasts 20 s.
    sleep 5
    kill -9 $guest
    wait $host || fail "host exit code $?"
    grep -q "connection lost" "$OUT/c-host.err" || fail "the host did not report the lost connection"
    # After the battle frames, the host's trace goes on at its title (scene 0).
    scenes "$OUT/c-host.trace" | grep -q '^120' || fail "the host did not go from the battle to its title"
    ;;
*)
    fail "unknown case"
    ;;
esac
echo "ok ($CASE)"
