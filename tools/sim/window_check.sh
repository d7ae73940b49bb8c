#!/bin/bash
# The real window under Xvfb, driven by X key events: title -> options (wins 3 -> 5) ->
# cancel back to the title -> Escape. Takes a screenshot of each scene, records the run with
# --record and replays the recording in pomrin-sim.
# usage: xvfb-run -a -s "-screen 0 1280x1024x24" tools/sim/window_check.sh BUILD_DIR OUT_DIR
set -e
BUILD=$(realpath "$1")
OUT=$(realpath -m "$2")
mkdir -p "$OUT"
cd "$OUT"
rm -f title.png options.png back.png record.txt replay.jsonl
SDL_AUDIODRIVER=dummy "$BUILD/pomrin" --record "$OUT/record.txt" 2>game.err &
GAME=$!
WIN=$(xdotool search --sync --pid $GAME | tail -1)
xdotool windowfocus --sync "$WIN"
tap() { for k in "$@"; do xdotool keydown "$k"; sleep 0.1; xdotool keyup "$k"; sleep 0.3; done; }
sleep 1.5
import -window root title.png
tap Down Down z
sleep 1.5
import -window root options.png
tap Right Right x
sleep 1.5
import -window root back.png
xdotool key Escape
wait $GAME && echo "game exit code 0"
"$BUILD/tools/pomrin-sim" --data "$BUILD/data" --input record.txt --trace replay.jsonl
echo "replayed $(wc -l <replay.jsonl) frames; options values on leaving:"
grep '"scene":3' replay.jsonl | tail -1
