#!/usr/bin/env bash
# Tests the two packages under Wine, in the build's prefix, from a clean
# state and back to it: a silent install puts the program, its shortcut,
# the Run value and the uninstall entry in place; Tamrik started through the
# shortcut shows its tray buttons and its Help finds the manual; a silent
# uninstall takes all of it out again and leaves the settings file; the zip
# holds the same three files. Then the same for an install for the current
# user alone.
#   test-package.sh PREFIX SETUP.exe ZIP poke.exe VERSION
# The installer and the program are 32-bit: they run under WOW64, natively
# or emulated (../wine/env.sh).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../wine/env.sh"
enter_wine32 "$0" "$@"
export WINEPREFIX=$(cd "$1" && pwd)
setup=$2 zip=$3 poke=$4 version=$5
can_run_32bit && check_32bit_prefix || { echo "FAIL: the installer and the program are 32-bit"; exit 1; }
echo "package: the 32-bit installer and program under WOW64 ($(wine32_mode) 32-bit code)"
# A shortcut in the Start menu would otherwise become a menu entry of the
# host's desktop.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

# The 32-bit installer sees the registry as 32-bit programs do, and so does
# the 32-bit reg.exe.
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tamrik'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
settings=$WINEPREFIX/drive_c/windows/Tamrik.ini
# The prefix has no drive for the host's files, so the programs run from a
# folder of drive C: the installer reads its own file again to unpack it.
work=$WINEPREFIX/drive_c/package-test

win() { "$WINE32" "$@" 2>/dev/null | tr -d '\r'; }
# The value's data, or nothing when the key or the value is not there.
reg_value() { win reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
unix_path() { local p=${1#[Cc]:\\}; printf '%s/drive_c/%s' "$WINEPREFIX" "${p//\\//}"; }

# Whatever an earlier run may have left, in the prefix and the registry.
scrub() {
    stop_wine
    rm -rf "$WINEPREFIX"/drive_c/"Program Files"*/Tamrik "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Tamrik
    rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/~nsu*.tmp "$WINEPREFIX"/drive_c/users/*/Temp/ns*.tmp
    rm -f "$menu/Tamrik.lnk" "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/Tamrik.lnk
    win cmd /c "reg delete $uninstall_key /f & reg delete ${uninstall_key/HKLM/HKCU} /f & reg delete $run_key /v Tamrik /f" \
        >/dev/null
    stop_wine
    rm -f "$settings"
}

passed=0 failed=0
check() {
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAIL: $what"
        failed=$((failed + 1))
        return 1
    fi
}
same() { [ "$1" = "$2" ] || { echo "  got '$1', expected '$2'"; return 1; }; }
# Polls until the command succeeds; fails once the deadline has passed.
eventually() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}
crlf_only() { ! grep -qv $'\r$' "$1"; }

scrub
rm -rf "$work"
mkdir -p "$work/zip"
cp "$setup" "$poke" "$work/" || exit 1
setup=$work/$(basename "$setup") poke=$work/poke.exe
start_display
trap 'scrub; stop_display; rm -rf "$work"' EXIT

echo "package: the zip"
check "the zip holds Tamrik.exe, readme.txt and LICENSE.txt" \
    same "$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')" "LICENSE.txt Tamrik.exe readme.txt "
(cd "$work/zip" && cmake -E tar xf "$zip")
check "LICENSE.txt ends its lines with CRLF" crlf_only "$work/zip/LICENSE.txt"

echo "package: silent install"
printf '[Configuration]\r\nDepth=3\r\n' >"$settings"
check "the installer ends with 0" timeout 60 "$WINE32" "$setup" /S
programs=$(win cmd /c echo %ProgramFiles%)
location=$(reg_value "$uninstall_key" InstallLocation)
dir=$(unix_path "$location")
# An administrator (as Wine's user is) installs for every user. A 32-bit
# installer on 64-bit Windows sees the 32-bit program folder as its
# Program Files, and the registry's 32-bit view.
check "installed into Program Files" same "$location" "$programs\\Tamrik"
check "Program Files is the one for 32-bit programs" same "$programs" 'C:\Program Files (x86)'
reg64_has() { "$WINE64" reg query "$1" /v "$2" >/dev/null 2>&1; }
check "the uninstall entry is in the registry's 32-bit view" \
    reg64_has "${uninstall_key/Software/Software\\Wow6432Node}" DisplayName
check "Add/Remove Programs names Tamrik $version" \
    same "$(reg_value "$uninstall_key" DisplayName) $(reg_value "$uninstall_key" DisplayVersion)" "Tamrik $version"
check "the uninstall entry names the publisher" same "$(reg_value "$uninstall_key" Publisher)" "The Tamrik developers"
check "the uninstall entry runs the uninstaller" \
    same "$(reg_value "$uninstall_key" UninstallString)" "\"$location\\uninstall.exe\""
check "the uninstall entry shows the program's icon" \
    same "$(reg_value "$uninstall_key" DisplayIcon)" "$location\\Tamrik.exe,0"
check "the uninstall entry gives a size" [ "$(($(reg_value "$uninstall_key" EstimatedSize)))" -gt 0 ]
check "the Run value starts the installed Tamrik" same "$(reg_value "$run_key" Tamrik)" "\"$location\\Tamrik.exe\""
for file in Tamrik.exe readme.txt LICENSE.txt uninstall.exe; do
    check "$file is installed" [ -f "$dir/$file" ]
done
check "the Start menu has the shortcut" [ -f "$menu/Tamrik.lnk" ]
for file in Tamrik.exe readme.txt LICENSE.txt; do
    check "the zip's $file is the installed one" cmp -s "$work/zip/$file" "$dir/$file"
done
# The version resource's strings are UTF-16.
check "the program's version resource says $version" \
    grep -q "^$version\$" <(strings -el "$dir/Tamrik.exe" | grep -A1 -x ProductVersion)
check "the program's manifest says $version.0" grep -qa "name=\"Tamrik\" version=\"$version.0\"" "$dir/Tamrik.exe"

echo "package: Tamrik started through its shortcut"
stop_wine
poke() { win "$poke" "$@"; }
tray_icons() { [ "$(poke children __winex11_standalone_tray | grep -c '^__winex11_tray_icon|')" = 5 ]; }
properties=
properties_shown() {
    properties=$(xdotool search --onlyvisible --name '^Tamrik [0-9.]+$' 2>/dev/null | head -1)
    [ -n "$properties" ]
}
# The default settings show five buttons and the Properties window. Help
# opens readme.txt from the directory Tamrik was started in: the manual in
# Notepad means the shortcut started it in the install folder.
manual_shown() {
    local tree
    tree=$(poke tree Notepad)
    [ "$(head -1 <<<"$tree" | cut -d'|' -f10)" = "readme.txt - Notepad" ] &&
        grep -qF "|Edit|" <<<"$tree" && grep -qF "|$(head -1 "$dir/readme.txt" | tr -d '\r')" <<<"$tree"
}
"$WINE32" start /unix "$menu/Tamrik.lnk" >/dev/null 2>&1
check "Tamrik shows its five tray buttons" eventually 30 tray_icons
if check "Tamrik shows its Properties window" eventually 30 properties_shown; then
    xdotool windowfocus --sync "$properties" key alt+h
    check "Help shows the installed manual in Notepad" eventually 30 manual_shown || poke tree Notepad | head -3
fi

# Notepad, started by Tamrik, has the install folder as its current
# directory too, and a folder in use cannot be removed.
notepad_gone() { [ -z "$(poke windows Notepad)" ]; }
poke post Notepad 0x10 0 0
check "Notepad closes" eventually 10 notepad_gone

echo "package: silent uninstall, Tamrik still running"
# The uninstaller hands over to a copy of itself outside the folder and
# returns at once; the folder goes last.
"$WINE32" "$dir/uninstall.exe" /S >/dev/null 2>&1
folder_gone() { [ ! -e "$dir" ]; }
check "the uninstaller removes the install folder" eventually 30 folder_gone || ls -A "$dir"
tamrik_gone() { [ -z "$(poke windows TApplication)" ]; }
check "Tamrik was closed by the uninstaller and has ended" eventually 10 tamrik_gone
# Closed in order, Tamrik saved every key; the uninstaller leaves the file.
check "the settings file stays, as Tamrik saved it" grep -q '^MinimizeVisible=' "$settings"
check "the shortcut is gone" [ ! -e "$menu/Tamrik.lnk" ]
check "the Run value is gone" same "$(reg_value "$run_key" Tamrik)" ""
entry_gone() { ! win reg query "$1" >/dev/null; }
check "the uninstall entry is gone" entry_gone "$uninstall_key"

# Wine's user is an administrator: /CurrentUser is what takes the installer
# down the path of a user without the rights to install for everyone.
echo "package: silent install for the current user alone"
user_key=${uninstall_key/HKLM/HKCU}
check "the installer ends with 0" timeout 60 "$WINE32" "$setup" /S /CurrentUser
location=$(reg_value "$user_key" InstallLocation)
dir=$(unix_path "$location")
user_menu=$(unix_path "$(win cmd /c echo %APPDATA%)")/Microsoft/Windows/"Start Menu"/Programs
check "installed into the user's own programs folder" \
    same "$location" "$(win cmd /c echo %LOCALAPPDATA%)\\Programs\\Tamrik"
check "the user's Add/Remove Programs names Tamrik $version" \
    same "$(reg_value "$user_key" DisplayName) $(reg_value "$user_key" DisplayVersion)" "Tamrik $version"
check "no uninstall entry for every user" entry_gone "$uninstall_key"
check "the installed Tamrik.exe is the zip's" cmp -s "$work/zip/Tamrik.exe" "$dir/Tamrik.exe"
check "the user's Start menu has the shortcut" [ -f "$user_menu/Tamrik.lnk" ]
check "the Start menu of every user has none" [ ! -e "$menu/Tamrik.lnk" ]
check "the Run value starts the installed Tamrik" same "$(reg_value "$run_key" Tamrik)" "\"$location\\Tamrik.exe\""

echo "package: silent uninstall for the current user"
"$WINE32" "$dir/uninstall.exe" /S >/dev/null 2>&1
check "the uninstaller removes the install folder" eventually 30 folder_gone || ls -A "$dir"
check "the user's shortcut is gone" [ ! -e "$user_menu/Tamrik.lnk" ]
check "the Run value is gone" same "$(reg_value "$run_key" Tamrik)" ""
check "the user's uninstall entry is gone" entry_gone "$user_key"
check "the settings file stays" [ -f "$settings" ]

echo "package: $passed passed, $failed failed"
[ $failed = 0 ]
