#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the game for 64-bit Windows into build-windows/, runs its tests under
# Wine and exits non-zero if any fails: one drift-harbour.exe, linked
# statically with a Qt built here from Debian's own qt6-base source, and its
# two downloads, a portable zip and an installer. As root or with sudo.
# The static Qt is built once, in about half an hour, into a folder of the
# cache, $DRIFT_CACHE (by default /var/cache/drift-harbour), named by the Qt
# version and a hash of all that it is built with, and reused while these
# stay the same.
set -eu
cd "$(dirname "$0")/.."
DRIFT_PACKAGES="cmake make ninja-build g++ qt6-base-dev dpkg-dev g++-mingw-w64-x86-64-posix jq
    librsvg2-bin icoutils nsis wine wine64 xvfb xauth xdotool x11-utils imagemagick unzip file git"
. scripts/lib/deps.sh

# Core, Gui, Widgets and Test, with what the game does not use left out. The
# Wintab header is not in Debian's source, so no tablet events; without
# OpenGL, no dynamic OpenGL either; and only Qt's own copies of the libraries
# it bundles, never one of the build machine's.
set -- -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    "-DCMAKE_C_FLAGS=-fstack-protector-strong -D_FORTIFY_SOURCE=2" \
    "-DCMAKE_CXX_FLAGS=-fstack-protector-strong -D_FORTIFY_SOURCE=2"
for feature in sql network dbus opengl dynamicgl printsupport concurrent xml jpeg gif freetype \
    vulkan tabletevent zstd system_zlib system_png system_harfbuzz system_pcre2 \
    system_doubleconversion system_textmarkdownreader; do
    set -- "$@" -DFEATURE_$feature=OFF
done
qt_for="for Windows" qt_script=scripts/windows.sh qt_compiler=x86_64-w64-mingw32-g++-posix qt_patches=""
qt_toolchain=$PWD/cmake/mingw-w64.cmake qt_toolchain_name="the game's cmake/mingw-w64.cmake"
. scripts/lib/staticqt.sh
static_qt windows 30 "$@"

# A build folder made for another Qt starts anew.
grep -q -F "CMAKE_TOOLCHAIN_FILE:FILEPATH=$qt/" build-windows/CMakeCache.txt 2>/dev/null || rm -rf build-windows
cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DDRIFT_QT_NOTICES="$qt/notices"
cmake --build build-windows --parallel
# A program that cannot start shows a message box, which no one closes here.
ctest --test-dir build-windows --output-on-failure --timeout 600
