#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the game in Release and prints the cost of
# a tick: the simulation step alone, and the step with a full paint.
set -eu
cd "$(dirname "$0")/.."
DRIFT_PACKAGES="cmake make g++ qt6-base-dev fonts-dejavu-core libbenchmark-dev"
. scripts/lib/deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build build-release --parallel --target tickbench
QT_QPA_PLATFORM=offscreen ./build-release/tickbench "$@"
