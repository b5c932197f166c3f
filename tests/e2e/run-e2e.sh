#!/usr/bin/env bash
# Runs the end-to-end tests of Tamrik.exe under Wine on a display of its own.
#   run-e2e.sh PREFIX E2E_TESTS BUILD_DIR LANE [GoogleTest options]
# LANE x64 runs the whole suite on the 64-bit build. LANE wow64 runs the
# tests that wow64-lane.txt names on the shipped 32-bit Tamrik.exe, as
# 64-bit Windows runs it (natively or emulated, see ../wine/env.sh), with
# the helper programs of the same build: poke.exe hands structures with
# pointers in them across to Tamrik's controls, which only works between
# programs of one width.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../wine/env.sh"
lane=$4
case $lane in
    x64) ;;
    wow64) enter_wine32 "$0" "$@" ;;
    *) echo "run-e2e.sh: LANE is x64 or wow64, not '$lane'" >&2; exit 2 ;;
esac
export WINEPREFIX=$(cd "$1" && pwd)
driver=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
build=$(cd "$3" && pwd)
shift 4

if [ "$lane" = wow64 ]; then
    can_run_32bit && check_32bit_prefix || { echo "FAIL: the WOW64 lane cannot run"; exit 1; }
    echo "e2e: the shipped 32-bit Tamrik.exe under WOW64 ($(wine32_mode) 32-bit code)"
    arch=i686 loader=$WINE32
    patterns=$(grep -v -e '^#' -e '^$' "$here/wow64-lane.txt" | paste -sd:)
    filter=--gtest_filter=$patterns
else
    echo "e2e: the 64-bit Tamrik.exe"
    arch=x86_64 loader=$WINE64
    filter=--gtest_filter=-Wow64*
fi

# The programs run from a directory of drive C, as an installed copy would,
# with the manual beside Tamrik.exe; the targets' log lies there too.
dir=$WINEPREFIX/drive_c/e2e
rm -rf "$dir"
mkdir -p "$dir"
helpers=$build/wintest-$arch/tests/e2e/helpers
cp "$build/win-$arch/Tamrik.exe" "$build/win-$arch/readme.txt" "$helpers/targets.exe" "$helpers/poke.exe" \
    "$helpers/probe.dll" "$helpers/launched.exe" "$dir/" || exit 1
# A native program beside them, as cmd.exe and the explorer are to the
# 32-bit Tamrik on 64-bit Windows.
cp "$build/wintest-x86_64/tests/e2e/helpers/launched.exe" "$dir/launched64.exe" || exit 1
# And the 64-bit poke.exe, for what needs not be of Tamrik's width (Poke).
cp "$build/wintest-x86_64/tests/e2e/helpers/poke.exe" "$dir/poke64.exe" || exit 1

# The DPI tests set the prefix's LogPixels and take it out again; should a
# run be cut short between the two, the tests after it still find none, and
# so 96 DPI.
reset_dpi() {
    awk '/^\[/ { desktop = ($0 ~ /^\[Control Panel\\\\Desktop\]/) }
         desktop && /^"LogPixels"=/ { found = 1 } END { exit !found }' "$WINEPREFIX/user.reg" || return 0
    "$WINE64" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
    stop_wine
}

stop_wine
reset_dpi
start_display
settings=$WINEPREFIX/drive_c/windows/Tamrik.ini
trap 'stop_wine; reset_dpi; stop_display; rm -rf "$dir"; chattr -i "$settings" 2>/dev/null; rm -f "$settings"' EXIT
# A filter given by hand comes after this one and takes its place.
TAMRIK_E2E_DIR=$dir TAMRIK_E2E_LANE=$lane TAMRIK_WINE=$loader TAMRIK_WINE64=$WINE64 TAMRIK_QEMU=$(realpath "$QEMU_I386") TAMRIK_WINESERVER=$WINESERVER "$driver" "$filter" "$@"
