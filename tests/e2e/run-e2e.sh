#!/usr/bin/env bash
# Runs the end-to-end tests of Tamrik.exe under Wine on a display of its own.
#   run-e2e.sh PREFIX E2E_TESTS BUILD_DIR [GoogleTest options]
# The shipped program is the 32-bit build; where this machine cannot run
# 32-bit programs the 64-bit build is tested in its place.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../wine/env.sh"
export WINEPREFIX=$(cd "$1" && pwd)
driver=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
build=$(cd "$3" && pwd)
shift 3

if can_run_32bit; then
    arch=i686 loader=$WINE32
    echo "e2e: testing the 32-bit Tamrik.exe"
else
    arch=x86_64 loader=$WINE64
    echo "e2e: this machine cannot run 32-bit programs; testing the 64-bit Tamrik.exe"
fi

# The programs run from a directory of drive C, as an installed copy would,
# with the manual beside Tamrik.exe; the targets' log lies there too.
dir=$WINEPREFIX/drive_c/e2e
helpers=$build/wintest-$arch/tests/e2e/helpers
rm -rf "$dir"
mkdir -p "$dir"
cp "$build/win-$arch/Tamrik.exe" "$build/win-$arch/readme.txt" "$helpers/targets.exe" "$helpers/poke.exe" \
    "$helpers/probe.dll" "$helpers/launched.exe" "$here/helpers/hung-fs.py" "$dir/" || exit 1

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
TAMRIK_E2E_DIR=$dir TAMRIK_WINE=$loader TAMRIK_WINESERVER=$WINESERVER "$driver" "$@"
