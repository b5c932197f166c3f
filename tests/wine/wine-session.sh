#!/usr/bin/env bash
# Runs one Windows test program under Wine in the build's prefix, on a
# display of its own, from a clean state: no Wine process left running and
# no settings file.
#   wine-session.sh PREFIX BITS PROGRAM.exe [ARGS...]
# A 32-bit program runs as 64-bit Windows runs it, under WOW64: natively
# where the kernel runs 32-bit code, emulated where it does not (env.sh).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
[ "$2" = 32 ] && enter_wine32 "$0" "$@"
export WINEPREFIX=$1 bits=$2
shift 2
loader=$WINE64
if [ "$bits" = 32 ]; then
    loader=$WINE32
    can_run_32bit && check_32bit_prefix || { echo "FAIL: the 32-bit tests cannot run"; exit 1; }
    echo "32-bit program under WOW64 ($(wine32_mode) 32-bit code)"
fi
stop_wine
rm -f "$WINEPREFIX/drive_c/windows/Tamrik.ini"
# A drive of the session's own, for the tests of drives and labels. Wine
# reads a drive's label file once, when the session's first program asks,
# and keeps it until the session ends: a label written later shows only in
# the next session, so it is written here, before Wine starts.
drive=$(mktemp -d)
printf 'MyLabel' >"$drive/.windows-label"
# A tree whose links lead back up, under a hidden directory that the drive's
# own listing passes over: .cycle/a/back leads to .cycle, .cycle/a/again to
# a itself, and .cycle/a/tob across to .cycle/b.
mkdir -p "$drive/.cycle/a" "$drive/.cycle/b/leaf"
ln -s .. "$drive/.cycle/a/back"
ln -s . "$drive/.cycle/a/again"
ln -s ../b "$drive/.cycle/a/tob"
# And .many: 10,000 directories in one, made here in a moment where Wine
# takes most of a minute.
mkdir -p "$drive/.many"
(cd "$drive/.many" && mkdir $(seq 0 9999))
ln -sfn "$drive" "$WINEPREFIX/dosdevices/t:"
export TAMRIK_TEST_DRIVE=t
start_display
"$loader" "$@"
status=$?
stop_wine
stop_display
rm -f "$WINEPREFIX/dosdevices/t:"
rm -rf "$drive"
exit $status
