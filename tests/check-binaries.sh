#!/usr/bin/env bash
# The shipped programs: Windows GUI programs that need nothing but system
# DLLs, and a 32-bit Tamrik.exe of at most 256 KB, each with the user manual
# beside it as Notepad shows it well: ASCII, CRLF, lines within 80 columns.
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
    manual=$(dirname "$exe")/readme.txt
    if [ ! -f "$manual" ]; then
        echo "FAIL: no readme.txt beside $exe"
        status=1
    elif LC_ALL=C grep -qnP '[^\x20-\x7e\r]|[^\r]$|^.{80,}\r$' "$manual"; then
        echo "FAIL: $manual has a line that is not plain ASCII, not CRLF-ended or longer than 79 columns:"
        LC_ALL=C grep -nP '[^\x20-\x7e\r]|[^\r]$|^.{80,}\r$' "$manual" | head -3
        status=1
    fi
done
size=$(stat -c %s "$1")
if [ "$size" -gt 262144 ]; then
    echo "FAIL: $1 is $size bytes, more than 256 KB"
    status=1
fi
[ $status = 0 ] && echo "binaries: OK ($1 is $size bytes)"
exit $status
