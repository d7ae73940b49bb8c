#!/usr/bin/env bash
# The README's two commands on a truly fresh Debian 12 machine: a clean root made by debootstrap,
# a clone of the repository's main, then ./play.sh (dummy video and sound; passes when the game
# still runs 10 s after its build) and ./test.sh (passes when it exits 0), as root with a plain
# environment. Only the clean root and the downloaded .debs are kept between runs, under
# ${POMRIN_CACHE:-~/.cache/pomrin}/fresh/; each run works in a new copy of the root.
# Logs go to build/fresh-check/<time>/ of the repository this script is in.
# Usage (as root): scripts/fresh_check.sh [--quick] [--keep] [REPO [BRANCH]]
#   --quick   runs ./test.sh --quick instead of the whole suite
#   --keep    leaves the run's root in place for a look (its mounts are removed all the same)
#   REPO      the repository to clone (default: the one this script is in), BRANCH (default: main)
set -euo pipefail
HERE=$(cd "$(dirname "$0")/.." && pwd)
QUICK=0 KEEP=0 ARGS=()
for a in "$@"; do
    case "$a" in
        --quick) QUICK=1 ;;
        --keep) KEEP=1 ;;
        -*) echo "usage: scripts/fresh_check.sh [--quick] [--keep] [REPO [BRANCH]]" >&2; exit 2 ;;
        *) ARGS+=("$a") ;;
    esac
done
[ ${#ARGS[@]} -le 2 ] || { echo "usage: scripts/fresh_check.sh [--quick] [--keep] [REPO [BRANCH]]" >&2; exit 2; }
SRC=${ARGS[0]:-$(git -C "$HERE" rev-parse --path-format=absolute --git-common-dir)}
BRANCH=${ARGS[1]:-main}
[ "$(id -u)" -eq 0 ] || { echo "fresh_check.sh: run it as root (it uses debootstrap, chroot and mount)" >&2; exit 1; }

. "$HERE/scripts/deps.sh"
need_packages debootstrap git

FRESH=${POMRIN_CACHE:-$HOME/.cache/pomrin}/fresh
CLEAN=$FRESH/root   # the bootstrapped root, never run in
DEBS=$FRESH/debs    # every .deb downloaded, by debootstrap and by apt in the runs
RUN=$FRESH/run      # this run's copy
LOGS=$HERE/build/fresh-check/$(date +%Y%m%d-%H%M%S)
MIRROR=http://deb.debian.org/debian
mkdir -p "$FRESH" "$DEBS/partial" "$LOGS"
exec 9>"$FRESH/lock"
flock -n 9 || { echo "fresh_check.sh: another run holds $FRESH/lock" >&2; exit 1; }

mmss() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

mounts_in_run() { findmnt -rn -o TARGET | awk -v r="$RUN" '$0 == r || index($0, r "/") == 1'; }

# Processes still running inside the run's root, then every mount under it, innermost first.
cleanup() {
    local pids=() p r sig
    for sig in TERM KILL; do
        pids=()
        for p in /proc/[0-9]*; do
            r=$(readlink "$p/root" 2>/dev/null) || continue
            if [ "$r" = "$RUN" ] || [[ "$r" == "$RUN/"* ]]; then pids+=("${p#/proc/}"); fi
        done
        [ ${#pids[@]} -eq 0 ] && break
        echo "stopping what still runs in the root (SIG$sig): ${pids[*]}"
        kill -s "$sig" "${pids[@]}" 2>/dev/null || true
        sleep 3
    done
    local m
    for m in $(mounts_in_run | sort -r); do
        umount "$m" 2>/dev/null || umount -l "$m" || echo "could not unmount $m" >&2
    done
    if [ ! -e "$RUN" ]; then
        :
    elif [ -n "$(mounts_in_run)" ]; then
        echo "mounts are left under $RUN; it is not removed" >&2
    elif [ "$KEEP" = 1 ]; then
        echo "the run's root is kept in $RUN"
    else
        rm -rf --one-file-system "$RUN"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# The clean root, made once: Debian's required and important packages, with the sources in the
# deb822 form of current Debian images (no sources.list), keeping what apt downloads.
T0=$SECONDS
if [ ! -e "$CLEAN/.pomrin-clean" ]; then
    echo "== bootstrap: Debian 12 into $CLEAN (log: $LOGS/bootstrap.log) =="
    rm -rf --one-file-system "$CLEAN.tmp"
    debootstrap --arch=amd64 --cache-dir="$DEBS" bookworm "$CLEAN.tmp" "$MIRROR" >"$LOGS/bootstrap.log" 2>&1 || {
        echo "bootstrap: FAIL ($(mmss $((SECONDS - T0))), see $LOGS/bootstrap.log)"; exit 1; }
    rm -f "$CLEAN.tmp/etc/apt/sources.list"
    cat >"$CLEAN.tmp/etc/apt/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: $MIRROR
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    cat >"$CLEAN.tmp/etc/apt/apt.conf.d/99keep-debs" <<EOF
APT::Keep-Downloaded-Packages "true";
Binary::apt::APT::Keep-Downloaded-Packages "true";
EOF
    printf '127.0.0.1\tlocalhost\n::1\t\tlocalhost ip6-localhost ip6-loopback\n' >"$CLEAN.tmp/etc/hosts"
    echo pomrin-fresh >"$CLEAN.tmp/etc/hostname"
    rm -f "$CLEAN.tmp/etc/resolv.conf"
    touch "$CLEAN.tmp/.pomrin-clean"
    rm -rf --one-file-system "$CLEAN"
    mv "$CLEAN.tmp" "$CLEAN"
    echo "bootstrap: done ($(mmss $((SECONDS - T0))))"
else
    echo "== bootstrap: the clean root from the cache ($CLEAN) =="
fi

T0=$SECONDS
# This run's root: a new copy, the machine's file systems, DNS, the .deb cache and the clone.
[ -e "$RUN" ] && { cleanup; rm -rf --one-file-system "$RUN"; }
cp -a "$CLEAN" "$RUN"
rm -f "$RUN/.pomrin-clean"
cp -L /etc/resolv.conf "$RUN/etc/resolv.conf"
mnt() { mount "$@"; mount --make-private "${@: -1}"; }
# The root is a mount of its own, as on a machine: `ip netns exec` remounts / and needs that.
mnt --bind "$RUN" "$RUN"
mnt -t proc proc "$RUN/proc"
mnt -t sysfs sysfs "$RUN/sys"
mnt --bind /dev "$RUN/dev"
mnt --bind /dev/pts "$RUN/dev/pts"
mnt -t tmpfs -o mode=1777,nosuid,nodev shm "$RUN/dev/shm"
mnt -t tmpfs -o mode=755,nosuid,nodev run "$RUN/run"
mkdir -p "$RUN/run/lock" && chmod 1777 "$RUN/run/lock"
mnt --bind "$DEBS" "$RUN/var/cache/apt/archives"
git clone -q --no-hardlinks --branch "$BRANCH" "$SRC" "$RUN/root/pomrin" >"$LOGS/clone.log" 2>&1 || {
    echo "clone of $SRC ($BRANCH): FAIL, see $LOGS/clone.log"; exit 1; }
echo "cloned $SRC ($BRANCH) at $(git -C "$RUN/root/pomrin" rev-parse --short HEAD)"

echo "root ready: copied, mounted and cloned ($(mmss $((SECONDS - T0))))"

# A command in the root as a new root user would type it: a login's plain environment.
IN_ROOT=(chroot "$RUN" /usr/bin/env -i HOME=/root TERM="${TERM:-xterm}"
         PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)

# ./play.sh: the build, then the game itself (play.sh execs it, so the process keeps its id).
VERDICT=0
echo "== play: ./play.sh (log: $LOGS/play.log) =="
T0=$SECONDS
"${IN_ROOT[@]}" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy bash -c 'cd /root/pomrin && exec ./play.sh' >"$LOGS/play.log" 2>&1 &
PLAY=$!
BUILT=
while kill -0 "$PLAY" 2>/dev/null; do
    if [[ "$(readlink "/proc/$PLAY/exe" 2>/dev/null)" == */root/pomrin/build/pomrin ]]; then
        BUILT=$SECONDS
        break
    fi
    sleep 1
done
if [ -n "$BUILT" ]; then
    sleep 10
    if kill -0 "$PLAY" 2>/dev/null; then
        echo "play: PASS (build $(mmss $((BUILT - T0))); the game still runs 10 s later)"
        kill "$PLAY" 2>/dev/null || true
        for _ in 1 2 3 4 5; do kill -0 "$PLAY" 2>/dev/null && sleep 1; done
        kill -9 "$PLAY" 2>/dev/null || true
    else
        rc=0; wait "$PLAY" || rc=$?
        echo "play: FAIL (build $(mmss $((BUILT - T0))); the game ended within 10 s, exit $rc)"
        VERDICT=1
    fi
else
    rc=0; wait "$PLAY" || rc=$?
    echo "play: FAIL ($(mmss $((SECONDS - T0))); ./play.sh ended before the game started, exit $rc)"
    VERDICT=1
fi
wait "$PLAY" 2>/dev/null || true

TEST_ARGS=()
[ "$QUICK" = 1 ] && TEST_ARGS=(--quick)
echo "== test: ./test.sh ${TEST_ARGS[*]} (log: $LOGS/test.log) =="
T0=$SECONDS
rc=0
"${IN_ROOT[@]}" bash -c 'cd /root/pomrin && ./test.sh "$@"' test.sh "${TEST_ARGS[@]}" >"$LOGS/test.log" 2>&1 || rc=$?
if [ "$rc" = 0 ]; then
    echo "test: PASS ($(mmss $((SECONDS - T0))))"
else
    echo "test: FAIL ($(mmss $((SECONDS - T0))), exit $rc; the end of the log:)"
    tail -n 15 "$LOGS/test.log" | sed 's/^/    /'
    VERDICT=1
fi
[ "$VERDICT" = 0 ] && echo "fresh check: PASS (logs in $LOGS)" || echo "fresh check: FAIL (logs in $LOGS)"
exit "$VERDICT"
