#!/bin/bash
# Two real game windows on one machine, host and guest of a net session, driven by X key events:
# both pick their characters and skills, player 1 rolls into the fight; a screenshot of both
# windows during the fight; then the guest presses Escape and the host shows its message over
# the title (second screenshot) and is closed with Escape.
# usage: xvfb-run -a -s "-screen 0 1400x600x24" tools/sim/net_window_check.sh BUILD_DIR OUT_DIR [PORT]
set -e
BUILD=$(realpath "$1")
OUT=$(realpath -m "$2")
PORT=${3:-27810}
mkdir -p "$OUT"
cd "$OUT"
SDL_AUDIODRIVER=dummy "$BUILD/pomrin" --host "$PORT" 2>host.err &
HOST=$!
H=$(xdotool search --sync --pid $HOST | tail -1)
SDL_AUDIODRIVER=dummy "$BUILD/pomrin" --join "127.0.0.1:$PORT" 2>guest.err &
GUEST=$!
G=$(xdotool search --sync --pid $GUEST | tail -1)
xdotool windowsize $H 640 480 windowmove $H 0 0
xdotool windowsize $G 640 480 windowmove $G 700 0
tap() { w=$1; shift; for k in "$@"; do xdotool windowfocus --sync $w; xdotool keydown $k; sleep 0.15; xdotool keyup $k; sleep 0.3; done; }
sleep 2
tap $H z; tap $G z; sleep 0.5; tap $H z; tap $G z
sleep 2.5
xdotool windowfocus --sync $H
xdotool keydown Right; sleep 1.2; xdotool keydown Down; sleep 0.4
import -window root fight.png
xdotool keyup Down; xdotool keyup Right
xdotool windowfocus --sync $G; xdotool key Escape
wait $GUEST && echo "guest exit code 0"
sleep 1.5
import -window root host_after.png
xdotool windowfocus --sync $H; xdotool key Escape
wait $HOST && echo "host exit code 0"
cat host.err guest.err
