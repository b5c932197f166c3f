#!/usr/bin/env bash
# Fails when the program imports a function that is not in the committed list
# of what Windows 98 and 2000 export, or one of the list's functions that
# Windows 95 lacks. Imports by ordinal are refused too: they name nothing
# the list could hold.
#   check-imports.sh PROGRAM.exe LIST
set -uo pipefail
exe=$1 list=$2
headers=$(x86_64-w64-mingw32-objdump -p "$exe") || { echo "FAIL: cannot read $exe"; exit 1; }
# "dll function" for each import: the lines after a DLL's name up to the
# blank line that ends its table; the first of them is the column heading.
imports=$(awk '/^\tDLL Name: / { dll = tolower($3); heading = 1; next }
               dll && /^\s*$/ { dll = ""; next }
               dll && heading { heading = 0; next }
               dll { print dll, (NF >= 3 ? $3 : "ordinal:" $2) }' <<<"$headers")
known=$(awk '/^#/ || NF == 0 { next }
             /^\[/ { dll = tolower(substr($1, 2, length($1) - 2)); next }
             { print dll, $1, ($2 == "98" ? "98" : "") }' "$list")
status=0 count=0
while read -r dll function; do
    [ -n "$dll" ] || continue
    count=$((count + 1))
    entry=$(awk -v d="$dll" -v f="$function" '$1 == d && $2 == f' <<<"$known")
    if [ -z "$entry" ]; then
        echo "FAIL: $(basename "$exe") imports $dll $function, which is not in $(basename "$list")"
        status=1
    elif [ "$(awk '{ print $3 }' <<<"$entry")" = 98 ]; then
        echo "FAIL: $(basename "$exe") imports $dll $function, which Windows 95 lacks: look it up at run time"
        status=1
    fi
done <<<"$imports"
if [ "$count" -lt 50 ]; then
    echo "FAIL: read only $count imports from $exe"
    status=1
fi
[ $status = 0 ] && echo "imports: OK ($count functions, each exported by Windows 95 OSR2, 98 and 2000)"
exit $status
