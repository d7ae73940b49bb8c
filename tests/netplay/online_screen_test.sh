#!/bin/bash
# Online play from the game's own screens, in two network namespaces joined by a veth pair
# (traffic and discovery broadcasts stay inside them; the screen hosts on the fixed port 27810).
# The host goes title -> online row -> make a room. The guest makes a room too and gives up with
# button 2, picks and deletes a character on the grid, types a room code with no lobby server
# set (its message), then finds the host in the local list and joins it. The net tests' match follows: both traces from the
# first select frame on are identical, and the host's net record is tests/netplay/match.rec.
set -uo pipefail
SIM=$1
HERE=$(cd "$(dirname "$0")" && pwd)
SKIP=77
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root for network namespaces"; exit $SKIP; }
command -v ip >/dev/null || { echo "SKIP: needs ip"; exit $SKIP; }
P=po$$
OUT=$(mktemp -d)
cleanup() {
    for ns in ${P}a ${P}b; do kill $(ip netns pids $ns 2>/dev/null) 2>/dev/null; done
    wait 2>/dev/null
    for ns in ${P}a ${P}b; do ip netns del $ns 2>/dev/null; done
    rm -rf "$OUT"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
ip netns add ${P}a 2>/dev/null || { echo "SKIP: cannot make network namespaces"; exit $SKIP; }
ip netns add ${P}b
ip -n ${P}a link add eth0 type veth peer name eth0 netns ${P}b
for i in a b; do
    ip -n $P$i link set lo up
    ip -n $P$i addr add 10.78.0.$([ $i = a ] && echo 1 || echo 2)/24 brd + dev eth0
    ip -n $P$i link set eth0 up
done
fail() { echo "FAIL: $*"; for f in "$OUT"/*.err; do echo "--- $f"; cat "$f"; done; exit 1; }
# The screens' keys (screen_host.txt, screen_guest.txt), then the net tests' match.
{ cat "$HERE/screen_host.txt"; echo session; grep -v '^#' "$HERE/host.txt"; } >"$OUT/host.txt"
{ cat "$HERE/screen_guest.txt"; echo session; grep -v '^#' "$HERE/guest.txt"; } >"$OUT/guest.txt"
FRAMES=1950
ip netns exec ${P}a "$SIM" --online --input "$OUT/host.txt" --frames $FRAMES --trace "$OUT/host.trace" \
    --net-record "$OUT/match.rec" --net-timeout 30 2>"$OUT/host.err" &
host=$!
ip netns exec ${P}b "$SIM" --online --input "$OUT/guest.txt" --frames $FRAMES --trace "$OUT/guest.trace" \
    --lang en --net-timeout 30 2>"$OUT/guest.err" || fail "guest exit code $?"
wait $host || fail "host exit code $?"
tail -n $FRAMES "$OUT/host.trace" >"$OUT/host.tail"
tail -n $FRAMES "$OUT/guest.trace" >"$OUT/guest.tail"
head -1 "$OUT/host.tail" | grep -q '"frame":0,"scene":1' || fail "the session does not start on the select"
cmp -s "$OUT/host.tail" "$OUT/guest.tail" || fail "host and guest traces differ"
cmp -s "$OUT/match.rec" "$HERE/match.rec" || fail "the net record differs from tests/netplay/match.rec"
[ "$(grep -c 'no lobby server is set' "$OUT/guest.err")" = 1 ] || fail "no message for the code without a lobby"
[ "$(grep -c 'connected' "$OUT/guest.err")" = 1 ] || fail "the guest did not connect once"
# Before the session: the title's online row (2) led to the online screen (scene 4).
grep -q '"scene":4' "$OUT/guest.trace" || fail "the guest never reached the online screen"
echo "online screen: room made, found on the local network and joined, match traces identical"
