#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: screenshot.sh <drift-harbour> <out.png>
# Starts the built game on a private Xvfb display and saves its window, as a
# player sees it at the start of level 1, to out.png.
set -eu
if [ -z "${DRIFT_ON_XVFB:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" env DRIFT_ON_XVFB=1 sh "$0" "$@"
fi
"$1" &
pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Drift Harbour$' | head -n 1)
sleep 0.5
import -window "$win" "$2"
kill "$pid"
