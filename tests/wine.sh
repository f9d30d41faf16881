#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: wine.sh <command>... | exe <program.exe> <argument>...
# Runs it on a private Xvfb display in a new Wine prefix without Mono, Gecko or
# menu entries; Qt at scale 1, logging to stderr (Wine passes QT_* as WINEQT_*).
# exe's status is the program's, as cmd saw it: Wine may kill one slow to exit.
set -u
[ -n "${DRIFT_ON_XVFB:-}" ] ||
    exec xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24" env DRIFT_ON_XVFB=1 sh "$0" "$@"
if [ -z "${DRIFT_IN_WINE:-}" ]; then
    export WINEPREFIX="$(mktemp -d)" DRIFT_IN_WINE=1 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
        WINEDEBUG=-all WINEQT_FORCE_STDERR_LOGGING=1 WINEQT_SCALE_FACTOR=1
    trap 'wineserver -k; rm -rf "$WINEPREFIX"' EXIT
    wineboot --init 2>/dev/null; wineserver -w
fi
[ "$1" = exe ] || { "$@"; exit; }
bat=$(mktemp -p "$WINEPREFIX/drive_c" XXXXXX.bat)
printf '@"%s" %s\r\n@echo wine.sh: exit status %%errorlevel%%\r\n' "$(winepath -w "$2")" "$(shift 2; echo "$*")" >"$bat"
wine cmd /c "$(winepath -w "$bat")" | tee "$bat.out"
tr -d '\r' <"$bat.out" | grep -qx 'wine.sh: exit status 0'
