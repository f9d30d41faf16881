#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the game in Release and starts it.
set -eu
cd "$(dirname "$0")/.."
DRIFT_PACKAGES="cmake make g++ qt6-base-dev qt6-base-private-dev qt6-wayland fonts-dejavu-core"
. scripts/lib/deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build build-release --parallel --target drift-harbour
exec ./build-release/drift-harbour
