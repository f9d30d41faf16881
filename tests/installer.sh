#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: installer.sh <setup.exe> <version>, under wine.sh
# A silent install puts the game into Program Files with a Start-menu
# shortcut and registers its uninstaller under "Apps and features"; the
# installed game starts; a silent uninstall then leaves no file, shortcut or
# registry key of the game.
set -eu
fail() { echo "$*" && exit 1; }
c=$WINEPREFIX/drive_c
dir="$c/Program Files/Drift Harbour"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Drift Harbour'
left() { find "$c" -iname '*drift*harbour*'; grep -i -l 'drift harbour' "$WINEPREFIX"/*.reg; }

wine "$1" /S && wineserver -w
[ "$(ls "$dir" | xargs)" = "LICENSE THIRD-PARTY-NOTICES.txt Uninstall.exe drift-harbour.exe" ] ||
    fail "installed: $(ls "$dir")"
[ -f "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Drift Harbour/Drift Harbour.lnk" ] ||
    fail "no shortcut in: $(find "$c/ProgramData/Microsoft/Windows/Start Menu")"
entry=$(wine reg query "$key" | tr -d '\r')
for value in "DisplayName.*Drift Harbour" "DisplayVersion.*$2" "Publisher.*Drift Harbour" \
    'DisplayIcon.*Drift Harbour\\drift-harbour.exe' 'UninstallString.*Drift Harbour\\Uninstall.exe'; do
    echo "$entry" | grep -q "$value" || fail "uninstaller registered without $value: $entry"
done
sh "$(dirname "$0")/window.sh" "$dir/drift-harbour.exe" wine ctrl+q

wine "$dir/Uninstall.exe" /S && wineserver -w
[ -z "$(left)" ] || fail "left behind: $(left)"
