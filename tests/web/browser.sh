#!/usr/bin/env bash
# The browser test: installs its driver (npm's puppeteer-core, no browser download) into the cache
# and runs it against the page with Debian's chromium. Usage: tests/web/browser.sh NATIVE_BUILD WEB_BUILD
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

# The native pictures of the title after its fade-in, in English and in Japanese.
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/data/user_data"
ln -s "$NATIVE/data/bmp" "$WORK/data/bmp"
ln -s "$NATIVE/data/wav" "$WORK/data/wav"
for lang in en ja; do
    "$NATIVE/tools/pomrin-sim" --data "$WORK/data" --lang $lang --frames 200 --shots "$WORK/$lang" --shot-frames 199
done

NODE_PATH=$MODULES/node_modules node "$HERE/browser_test.js" "$WEB/page" "$WORK/en/000199.png" "$WORK/ja/000199.png" \
    "$WEB/shots"
echo "web: screenshots in $WEB/shots"
