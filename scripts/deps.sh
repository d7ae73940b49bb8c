# Sourced by every build and test script: installs the Debian packages the build needs when
# missing, and makes a failing step say where it failed instead of ending silently.
# Usage: need_packages pkg...     need_deb_src

# A command that ends the script under `set -e` names itself, its script and line, and its exit code.
set -E
trap 'pomrin_rc=$?; echo "${0##*/}: failed (exit $pomrin_rc) at ${BASH_SOURCE[0]##*/}:$LINENO: $BASH_COMMAND" >&2' ERR

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
                libfontconfig-dev fonts-ipafont-gothic libgtest-dev libbenchmark-dev libenet-dev libboost-dev)

# apt-get source needs a deb-src entry for bookworm. The line is added on its own: a machine whose
# sources are only in deb822 files (/etc/apt/sources.list.d/*.sources) has no sources.list to copy.
need_deb_src() {
    apt-cache showsrc libsdl2 2>/dev/null | grep -q '^Package: libsdl2$' && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "No deb-src entry for Debian's source packages. Add one, then try again:" >&2
        echo "  echo 'deb-src http://deb.debian.org/debian bookworm main' | sudo tee /etc/apt/sources.list.d/pomrin-src.list" >&2
        echo "  sudo apt-get update" >&2
        exit 1
    fi
    echo "Adding a deb-src entry for bookworm (/etc/apt/sources.list.d/pomrin-src.list)"
    echo "deb-src http://deb.debian.org/debian bookworm main" > /etc/apt/sources.list.d/pomrin-src.list
    apt-get -o DPkg::Lock::Timeout=900 update -qq || { echo "apt-get update failed" >&2; exit 1; }
    apt-cache showsrc libsdl2 2>/dev/null | grep -q '^Package: libsdl2$' || {
        echo "Debian's source packages are not reachable (apt-cache showsrc libsdl2 finds nothing)" >&2
        exit 1
    }
}
