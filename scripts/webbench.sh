#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the size of the web game's .wasm (as it is, with gzip -9 and with
# brotli), Lighthouse's performance scores for the page, mobile and desktop,
# with their total blocking time, and how the page runs in this system's
# browsers, each in a window of a private Xvfb display: the time to its
# first frame in Chromium, and in
# Chromium at device pixel ratios 1 and 2, on a phone with and without a
# throttled CPU, in Firefox and in WebKitGTK at ratios 1 and 2, its ticks and
# frames per second and its CPU time beside the desktop game's, and the CPU
# time of a bare canvas page in Chromium, the least that any such page takes.
# Needs the web build of scripts/web.sh.
set -eu
cd "$(dirname "$0")/.."
wasm=build-web/page/drift-harbour.wasm
[ -f "$wasm" ] || { echo "webbench.sh: no $wasm; build it first with: sh scripts/web.sh"; exit 1; }
DRIFT_PACKAGES="cmake make g++ qt6-base-dev qt6-base-private-dev fonts-dejavu-core xvfb xauth brotli chromium firefox-esr
    webkit2gtk-driver xdotool unzip"
. scripts/lib/deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release --parallel --target drift-harbour >/dev/null
echo "drift-harbour.wasm: $(wc -c <"$wasm") bytes; $(gzip -9c "$wasm" | wc -c) with gzip -9," \
    "$(brotli -c -q 11 "$wasm" | wc -c) with brotli"
npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
# Large enough for WebKit's window at ratio 2.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 2560x1600x24" \
    node bench/web.mjs build-web/drift-harbour-*-web.zip build-release/drift-harbour
