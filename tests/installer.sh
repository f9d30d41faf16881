#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: installer.sh <setup.exe> <version>, under wine.sh
# A silent install into Program Files, with a Start-menu shortcut and an entry
# in "Apps and features"; the game starts; a silent uninstall leaves nothing.
set -eu
fail() { echo "$*" && exit 1; }
c=$WINEPREFIX/drive_c
dir="$c/Program Files/Drift Harbour"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Drift Harbour'
left() { find "$c" -iname '*drift*harbour*'; grep -i -l 'drift harbour' "$WINEPREFIX"/*.reg; }

sh "$(dirname "$0")/wine.sh" exe "$1" /S && wineserver -w
[ "$(ls "$dir" | xargs)" = "LICENSE THIRD-PARTY-NOTICES.txt Uninstall.exe drift-harbour.exe" ] ||
    fail "installed: $(ls "$dir")"
[ -f "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Drift Harbour/Drift Harbour.lnk" ] ||
    fail "no shortcut in: $(find "$c/ProgramData/Microsoft/Windows/Start Menu")"
[ "$(wine reg query "$key" | grep -c -e "DisplayName.*Drift Harbour" -e "DisplayVersion.*$2" \
    -e "Publisher.*Drift Harbour" -e 'DisplayIcon.*\\drift-harbour.exe' -e 'UninstallString.*\\Uninstall.exe')" = 5 ] ||
    fail "uninstaller registered as: $(wine reg query "$key")"
sh "$(dirname "$0")/window.sh" "$dir/drift-harbour.exe" wine ctrl+q

sh "$(dirname "$0")/wine.sh" exe "$dir/Uninstall.exe" /S && wineserver -w
[ -z "$(left)" ] || fail "left behind: $(left)"
