#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: wine.sh <command>...
# Runs the command on a private Xvfb display with a new Wine prefix of its
# own, which asks for no Mono or Gecko and makes no menu entries or file
# associations on this system, and removes the prefix after. Qt's
# messages and test logs go to stderr and stdout, not to a debugger's log.
# Wine hands Qt's variables to a program only from the same with WINE before
# their names: WINEQT_SCALE_FACTOR for QT_SCALE_FACTOR.
set -u
[ -n "${DRIFT_ON_XVFB:-}" ] ||
    exec xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24" env DRIFT_ON_XVFB=1 sh "$0" "$@"
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEDEBUG=-all WINEQT_FORCE_STDERR_LOGGING=1
trap 'wineserver -k; rm -rf "$WINEPREFIX"' EXIT
wineboot --init 2>/dev/null && wineserver -w && "$@"
