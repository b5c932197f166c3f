#!/usr/bin/env bash
# Pins what Wine does while a drive's listing never answers (see
# listing_lock.cpp): drive u: is a FUSE file system whose listing waits
# forever, t: an ordinary directory, and listing_lock.exe lists t:, u:, t:.
#   hung-listing.sh PREFIX listing_lock.exe
# The hung drive is mapped only once the program is up: a Wine program
# started while it is mapped waits on it before it runs a line.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../env.sh"
export WINEPREFIX=$(cd "$1" && pwd)
program=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")

[ -e /dev/fuse ] || { echo "FAIL: this machine has no /dev/fuse"; exit 1; }
stop_wine
work=$(mktemp -d)
mkdir -p "$work/mount" "$work/drive/apple"
go=$WINEPREFIX/drive_c/go
/usr/bin/python3 "$here/hung-fs.py" "$work/mount" >"$work/fs.log" 2>&1 &
fs=$!
cleanup() {
    rm -f "$WINEPREFIX/dosdevices/u:" "$WINEPREFIX/dosdevices/t:" "$go"
    # The file system's end lets every call that waits on it fail.
    { kill -9 "$fs" && wait "$fs"; } 2>/dev/null
    fusermount3 -u -z "$work/mount" 2>/dev/null
    stop_wine
    rm -rf "$work"
}
trap cleanup EXIT

# Waits up to $1 seconds for the pattern $2 in the file $3.
await() {
    local deadline=$((SECONDS + $1))
    until grep -q "$2" "$3" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}
await 10 mounted "$work/fs.log" || { echo "FAIL: the file system did not mount"; cat "$work/fs.log"; exit 1; }
rm -f "$go" "$WINEPREFIX/dosdevices/u:"
ln -sfn "$work/drive" "$WINEPREFIX/dosdevices/t:"
"$WINE64" "$program" t u >"$work/out.log" 2>/dev/null &
await 60 ready "$work/out.log" || { echo "FAIL: listing_lock.exe did not start"; exit 1; }
ln -sfn "$work/mount" "$WINEPREFIX/dosdevices/u:"
touch "$go"
await 60 "program started" "$work/out.log" || { echo "FAIL: listing_lock.exe did not finish"; exit 1; }
tr -d '\r' <"$work/out.log" >"$work/results.log"
cat "$work/results.log"
# Its threads that wait on u: end with the file system, in cleanup.
for line in "good drive listed first: yes" "hung drive listed: no" "good drive listed after: no" \
    "program started after: no"; do
    grep -qx "$line" "$work/results.log" || { echo "FAIL: Wine no longer holds every listing up behind a hung one"; exit 1; }
done
echo "PASS: under Wine a hung listing holds up every listing of its process"
