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
