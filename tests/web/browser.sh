#!/usr/bin/env bash
# The browser tests: installs their modules (npm's puppeteer-core, no browser download, and ws) into
# the cache, runs the page in Debian's chromium (two pages play online through a lobby server on
# 127.0.0.1), then the page's code online under Node (online.sh).
# Usage: tests/web/browser.sh NATIVE_BUILD WEB_BUILD
set -euo pipefail
NATIVE=$1
WEB=$2
HERE=$(cd "$(dirname "$0")" && pwd)
CACHE=${POMRIN_CACHE:-$HOME/.cache/pomrin}
MODULES=$CACHE/web-test/$(cat "$HERE/package.json" "$HERE/package-lock.json" | sha256sum | cut -c1-16)
if [ ! -e "$MODULES/.done" ]; then
    rm -rf "$MODULES"
    mkdir -p "$MODULES"
    cp "$HERE/package.json" "$HERE/package-lock.json" "$MODULES/"
    (cd "$MODULES" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
    touch "$MODULES/.done"
fi

# The native pictures of the title after its fade-in, in English and in Japanese (with the online
# row, as in the page).
WORK=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$WORK"' EXIT
mkdir -p "$WORK/data/user_data"
ln -s "$NATIVE/data/bmp" "$WORK/data/bmp"
ln -s "$NATIVE/data/wav" "$WORK/data/wav"
for lang in en ja; do
    "$NATIVE/tools/pomrin-sim" --data "$WORK/data" --lang $lang --online --frames 200 --shots "$WORK/$lang" \
        --shot-frames 199
done

# The pages' lobby server, and the site: the page, the native pictures and lobby.txt naming the
# lobby server, served by Python's http.server on 127.0.0.1.
. "$HERE/../support/lobby.sh"
start_lobby "$NATIVE" "$WORK/lobby.log"
mkdir "$WORK/site"
ln -s "$(cd "$WEB/page" && pwd)"/* "$WORK/site/"
rm -f "$WORK/site/lobby.txt"
echo "ws://$LOBBY/" >"$WORK/site/lobby.txt"
for lang in en ja; do mv "$WORK/$lang/000199.png" "$WORK/site/native-title-$lang.png"; done
/usr/bin/python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$WORK/site" >"$WORK/http.log" 2>&1 &
for _ in $(seq 100); do
    PORT=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$WORK/http.log")
    [ -n "$PORT" ] && break
    sleep 0.1
done
[ -n "$PORT" ] || { echo "FAIL: the page's server did not start" >&2; cat "$WORK/http.log" >&2; exit 1; }

export NODE_PATH=$MODULES/node_modules
node "$HERE/browser_test.js" "http://127.0.0.1:$PORT/pomrin.html" "$WEB/shots" || { cat "$WORK/lobby.log"; exit 1; }
echo "web: screenshots in $WEB/shots"
"$HERE/online.sh" "$NATIVE" "$WEB"
