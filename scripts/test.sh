#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the game with its tests and runs the whole
# suite headless: first a Release build, then the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."
DRIFT_PACKAGES="cmake make g++ qt6-base-dev qt6-base-private-dev qt6-wayland fonts-dejavu-core xvfb xauth xdotool
    x11-utils imagemagick weston desktop-file-utils appstream dpkg-dev file lintian devscripts git
    libbenchmark-dev dbus at-spi2-core"
. scripts/lib/deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build --parallel
ctest --test-dir build --output-on-failure

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRIFT_SANITIZE=ON
cmake --build build-sanitize --parallel
ctest --test-dir build-sanitize --output-on-failure
