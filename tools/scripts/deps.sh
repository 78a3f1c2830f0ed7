#!/usr/bin/env bash
# Installs the Debian packages a build needs, skipping what is already there.
# Usage: deps.sh GROUP...   (groups: linux, windows, display, fuzz, lint, ardour, qtractor)
set -euo pipefail

packages_for() {
    case "$1" in
    linux) echo "cmake ninja-build g++ pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
                 libx11-dev libfreetype-dev libfontconfig-dev fonts-liberation libstb-dev libsndfile1-dev
                 libebur128-dev libcli11-dev nlohmann-json3-dev libcairo2-dev help2man lintian
                 liblilv-dev lv2-dev sordi lilv-utils x42-plugins dpkg-dev file" ;;
    windows) echo "cmake ninja-build googletest g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
                   binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine" ;;
    display) echo "xvfb xauth xdotool x11-utils" ;;
    fuzz) echo "clang libclang-rt-14-dev" ;;
    lint) echo "clang-format clang-tidy" ;;
    ardour) echo "ardour jackd2 python3" ;;  # tools/scripts/ardour-lv2.sh, by hand
    qtractor) echo "qtractor jackd2 xvfb xauth xdotool x11-apps imagemagick python3" ;;
    *) echo "deps.sh: unknown group $1" >&2; exit 2 ;;
    esac
}

wanted=()
for group in "$@"; do
    for pkg in $(packages_for "$group"); do
        wanted+=("$pkg")
    done
done

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    ! dpkg --print-foreign-architectures | grep -q '^i386$'; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror in the middle of a sync serves index files of the wrong size for a while: try the
# update again, and go on to the install with what was fetched (it says what it cannot find).
for try in 1 2 3; do
    apt-get update -qq && break
    echo "deps.sh: apt-get update failed (try $try of 3)" >&2
    sleep $((try * 20))
done
apt-get install -y -qq "${missing[@]}" && exit 0
# 32-bit packages must match their 64-bit twins' versions to the update; where this machine's
# lists lack the 32-bit updates, install the rest, and say so: the 32-bit Windows tests are
# then skipped, loudly, as on a kernel that runs no 32-bit programs.
native=()
for pkg in "${missing[@]}"; do
    [[ $pkg == *:i386 ]] || native+=("$pkg")
done
[ ${#native[@]} -lt ${#missing[@]} ] || exit 1
echo "!! deps.sh: the 32-bit packages cannot be installed from this machine's package lists;" \
    "installing the others (32-bit Windows programs will not run here)" >&2
apt-get install -y -qq "${native[@]}"
