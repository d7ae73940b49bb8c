# Sourced by every build and test script: installs the Debian packages the build needs when
# missing, and makes a failing step say where it failed instead of ending silently.
# Usage: need_packages pkg...     need_deb_src

# A command that ends the script under `set -e` names itself, its script and line, and its exit code.
set -E
trap 'pomrin_rc=$?; echo "${0##*/}: failed (exit $pomrin_rc) at ${BASH_SOURCE[0]##*/}:$LINENO: $BASH_COMMAND" >&2' ERR

# The data files have Japanese names: tools that convert file names by the locale (CPack's
# archiver, Python) need a UTF-8 one, which a plain root shell on a new machine does not set.
case "$(locale charmap 2>/dev/null)" in UTF-8) ;; *) export LC_ALL=C.UTF-8 ;; esac

need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get -o DPkg::Lock::Timeout=900 update -qq && apt-get -o DPkg::Lock::Timeout=900 install -y -qq "${missing[@]}" >/dev/null || {
            echo "apt-get install failed for: ${missing[*]}" >&2
            exit 1
        }
    else
        echo "Missing packages. Run this, then try again:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
}

BUILD_PACKAGES=(g++ cmake make pkg-config libsdl2-dev libsdl2-mixer-dev libfreetype-dev
                libfontconfig-dev fonts-ipafont-gothic libgtest-dev libbenchmark-dev libenet-dev libboost-dev zlib1g-dev)

# apt-get source needs a deb-src entry for bookworm. It is added as a file of its own, in the
# deb822 format, with the same Signed-By as the machine's binary entry for that archive when it has
# one (apt refuses two entries for one archive with different keys); a machine whose sources are
# only in deb822 files has no sources.list to copy from.
POMRIN_SRC_LIST=/etc/apt/sources.list.d/pomrin-src.sources
pomrin_archive_key() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -e "$f" ] && [ "$f" != "$POMRIN_SRC_LIST" ] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
             /(^|\n)URIs:[^\n]*deb\.debian\.org\/debian\/?( |\n|$)/ && /(^|\n)Suites:[^\n]*bookworm( |\n|$)/ {
                 for (i = 1; i <= NF; i++) if ($i ~ /^Signed-By:/) { sub(/^Signed-By: */, "", $i); print $i; exit }
             }' "$f"
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -e "$f" ] || continue
        sed -nE 's/^deb +\[[^]]*signed-by=([^] ]+)[^]]*\] +https?:\/\/deb\.debian\.org\/debian\/? +bookworm .*/\1/p' "$f"
    done
}
need_deb_src() {
    apt-cache showsrc libsdl2 2>/dev/null | grep -q '^Package: libsdl2$' && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "No deb-src entry for Debian's source packages. Add one, then try again:" >&2
        echo "  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\n' | sudo tee $POMRIN_SRC_LIST" >&2
        echo "  (with the Signed-By line of the machine's own entry for deb.debian.org, if it has one)" >&2
        echo "  sudo apt-get update" >&2
        exit 1
    fi
    local key
    key=$(pomrin_archive_key | sed -n '1p')
    echo "Adding a deb-src entry for bookworm ($POMRIN_SRC_LIST)"
    rm -f /etc/apt/sources.list.d/pomrin-src.list  # an earlier one-line entry
    {
        printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\n'
        [ -z "$key" ] || printf 'Signed-By: %s\n' "$key"
    } >"$POMRIN_SRC_LIST"
    if ! apt-get -o DPkg::Lock::Timeout=900 update -qq; then
        rm -f "$POMRIN_SRC_LIST"  # never leave the machine's apt unable to read its sources
        echo "apt-get update failed with the deb-src entry added; it was taken out again" >&2
        exit 1
    fi
    apt-cache showsrc libsdl2 2>/dev/null | grep -q '^Package: libsdl2$' || {
        echo "Debian's source packages are not reachable (apt-cache showsrc libsdl2 finds nothing)" >&2
        exit 1
    }
}

# ENet's source for the cross builds (Windows, the browser), unpacked into WORK (made afresh); prints
# its folder. bookworm's source package (1.3.17) is no longer served by the archive, so this takes
# the upstream tarball of Debian's next release (1.3.18, the same wire protocol as the Linux
# build's 1.3.17), checked against its known hash; apt-get source is the fallback.
# Usage: src=$(enet_source WORK)
ENET_ORIG=enet_1.3.18+ds.orig.tar.xz
ENET_SHA256=f1ba5f8aaf253cb19b9545031450bf74122f151435998259ca978808e9e4fec3
enet_source() {
    local work=$1 src
    rm -rf "$work"
    mkdir -p "$work"
    if curl -fsS -m 300 -o "$work/$ENET_ORIG" "http://deb.debian.org/debian/pool/main/e/enet/$ENET_ORIG" &&
        echo "$ENET_SHA256  $work/$ENET_ORIG" | sha256sum -c --quiet >&2; then
        tar xJf "$work/$ENET_ORIG" -C "$work"
    else
        (cd "$work" && apt-get source -qq enet >/dev/null 2>&1) || true
    fi
    src=$(find "$work" -maxdepth 2 -name protocol.c -printf '%h\n' | head -1)
    [ -n "$src" ] || { echo "no ENet source: neither $ENET_ORIG nor apt-get source enet" >&2; exit 1; }
    echo "$src"
}
