#!/usr/bin/env bash
# The shipped programs: Windows GUI programs that need nothing but system
# DLLs, and a 32-bit Tamrik.exe of at most 256 KB.
set -uo pipefail
status=0
allowed='^(kernel32|user32|gdi32|shell32|comdlg32|comctl32|advapi32|msvcrt|ole32|version)\.dll$'
for exe in "$@"; do
    headers=$(x86_64-w64-mingw32-objdump -p "$exe") || { echo "FAIL: cannot read $exe"; status=1; continue; }
    grep -q 'Subsystem.*0002' <<<"$headers" || { echo "FAIL: $exe is not a GUI program"; status=1; }
    while read -r dll; do
        if ! grep -qiE "$allowed" <<<"$dll"; then
            echo "FAIL: $exe imports $dll"
            status=1
        fi
    done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
done
size=$(stat -c %s "$1")
if [ "$size" -gt 262144 ]; then
    echo "FAIL: $1 is $size bytes, more than 256 KB"
    status=1
fi
[ $status = 0 ] && echo "binaries: OK ($1 is $size bytes)"
exit $status
