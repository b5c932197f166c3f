#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, when it is missing.
set -euo pipefail

needed=(cmake g++ make clang libclang-rt-14-dev libgtest-dev googletest mingw-w64 wine wine64 xvfb xdotool x11-utils openbox imagemagick e2fsprogs nsis fuse3 python3-fusepy)
missing=()
for package in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
# 32-bit Windows programs need Wine's 32-bit half.
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" || missing+=("wine32:i386")

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "missing packages: ${missing[*]}; run this as root to install them" >&2
        exit 1
    fi
    echo "installing: ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    # A mirror caught in the middle of a sync serves an index of the wrong
    # size for a while; the update is tried again, and the install goes on
    # with what it could read.
    for attempt in 1 2 3; do
        apt-get update -qq && break
        echo "apt-get update failed (attempt $attempt); trying again" >&2
        sleep $((attempt * 10))
    done
    apt_install() { DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null; }
    # A 32-bit library must come at the version of its 64-bit twin. When the
    # security archive's 32-bit index could not be read, the twins of its
    # updates are missing; everything then comes from the release itself.
    apt_install "${missing[@]}" || {
        echo "installing again from the release alone" >&2
        apt_install -t bookworm "${missing[@]}"
    }
fi

# Where the kernel cannot run 32-bit code, Wine's 32-bit half runs under
# qemu-i386 (tests/wine/env.sh). It takes qemu 8.1 or later: under
# bookworm's 7.2 every Wine start spins about a minute before it does
# anything, so it comes from Debian's backports. Where 32-bit code runs
# natively nothing is installed, unless TAMRIK_EMULATE_32BIT asks for the
# emulated lane.
qemu=/usr/bin/qemu-i386-static
qemu_new_enough() {
    local version
    version=$("$qemu" --version 2>/dev/null | sed -n '1s/.*version \([0-9]*\)\.\([0-9]*\).*/\1 \2/p')
    [ -n "$version" ] && set -- $version && { [ "$1" -gt 8 ] || { [ "$1" = 8 ] && [ "$2" -ge 1 ]; }; }
}
if { [ -n "${TAMRIK_EMULATE_32BIT:-}" ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; } && ! qemu_new_enough; then
    if [ "$(id -u)" != 0 ]; then
        echo "this machine runs no 32-bit code and needs qemu-user-static 8.1 or later; run this as root" >&2
        exit 1
    fi
    echo "32-bit code runs here only emulated: installing qemu-user-static from bookworm-backports"
    backports=/etc/apt/sources.list.d/bookworm-backports.sources
    if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
            'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' >"$backports"
    fi
    for attempt in 1 2 3; do
        apt-get update -qq && break
        echo "apt-get update failed (attempt $attempt); trying again" >&2
        sleep $((attempt * 10))
    done
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends -t bookworm-backports \
        qemu-user-static >/dev/null
    qemu_new_enough || { echo "qemu-i386-static 8.1 or later could not be installed" >&2; exit 1; }
fi
