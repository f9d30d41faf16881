#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: wine.sh <command>...
# Runs it on a private Xvfb display in a new Wine prefix, without Mono, Gecko
# or menu entries on this system; Qt logs to stderr and stdout. Wine passes
# Qt's variables only under WINE before their names: WINEQT_SCALE_FACTOR.
set -u
[ -n "${DRIFT_ON_XVFB:-}" ] ||
    exec xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24" env DRIFT_ON_XVFB=1 sh "$0" "$@"
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEDEBUG=-all WINEQT_FORCE_STDERR_LOGGING=1
trap 'wineserver -k; rm -rf "$WINEPREFIX"' EXIT
wineboot --init 2>/dev/null && wineserver -w && "$@"
