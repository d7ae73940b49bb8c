#!/usr/bin/env bash
# The simulator built for Node against the native one: the same input script must give the same
# trace, sound log and pictures, byte for byte. Usage: tests/web/traces.sh NATIVE_BUILD WEB_BUILD
set -euo pipefail
NATIVE=$1
WEB=$2
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# A data folder of its own: the generated pictures and sounds, and the settings of the run.
data() {  # data NAME [OPTION.DAT]
    mkdir -p "$WORK/$1/user_data"
    ln -s "$NATIVE/data/bmp" "$WORK/$1/bmp"
    ln -s "$NATIVE/data/wav" "$WORK/$1/wav"
    [ -z "${2:-}" ] || cp "$2" "$WORK/$1/user_data/Option.dat"
}

compare() {  # compare NAME INPUT FRAMES SHOT_FRAMES [OPTION.DAT]
    local name=$1 input=$2 frames=$3 shots=$4 option=${5:-}
    local args=(--input "$input" --frames "$frames" --shot-frames "$shots")
    data "$name-native" "$option"
    data "$name-node" "$option"
    "$NATIVE/tools/pomrin-sim" --data "$WORK/$name-native" "${args[@]}" --trace "$WORK/$name-native.jsonl" \
        --sounds "$WORK/$name-native.snd" --shots "$WORK/$name-native-shots"
    local t0 t1
    t0=$(date +%s%N)
    node "$WEB/pomrin-sim.js" --data "$WORK/$name-node" "${args[@]}" --trace "$WORK/$name-node.jsonl" \
        --sounds "$WORK/$name-node.snd" --shots "$WORK/$name-node-shots"
    t1=$(date +%s%N)
    local n
    n=$(wc -l <"$WORK/$name-native.jsonl")
    if [ "$n" -ne "$frames" ]; then
        echo "FAIL $name: the native trace has $n frames, not $frames" >&2
        exit 1
    fi
    cmp "$WORK/$name-native.jsonl" "$WORK/$name-node.jsonl" || { echo "FAIL $name: traces differ" >&2; exit 1; }
    cmp "$WORK/$name-native.snd" "$WORK/$name-node.snd" || { echo "FAIL $name: sounds differ" >&2; exit 1; }
    diff -r "$WORK/$name-native-shots" "$WORK/$name-node-shots" >/dev/null ||
        { echo "FAIL $name: pictures differ" >&2; exit 1; }
    echo "ok   $name: $frames frames, traces, sounds and $(ls "$WORK/$name-native-shots" | wc -l) pictures equal" \
        "(Node: $(( (t1 - t0) / 1000000 )) ms)"
}

# A whole two-player match from the title.
compare two-players "$ROOT/tests/match/match.txt" 2200 40,300,1000,2100

# VS COM at strength 4 (wins 5, defences 3, normal battle): button 1 every 20 frames through the
# title and select and as a skill in the fight, player 1 rolling about in between.
printf '\x05\0\0\0\x03\0\0\0\x03\0\0\0\x03\0\0\0\x04\0\0\0\0\0\0\0\0\0\0\0\0\0\xf0\x3f\0\0\0\0\0\0\0\0' \
    >"$WORK/strength4.dat"
awk 'BEGIN { split("RIGHT DOWN,,LEFT,UP,DOWN RIGHT,", dirs, ",");
    for (f = 0; f < 20000; f += 20) { print f " Z"; print f + 1 " " dirs[int(f / 40) % 6 + 1] } }' >"$WORK/vscom.txt"
compare vs-com "$WORK/vscom.txt" 20000 500,3000,9000,19999 "$WORK/strength4.dat"
if ! grep -q '"scene":2' "$WORK/vs-com-native.jsonl"; then
    echo "FAIL vs-com: no battle in the run" >&2
    exit 1
fi
