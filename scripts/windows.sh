#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the game for 64-bit Windows into build-windows/, runs its tests under
# Wine and exits non-zero if any fails: one drift-harbour.exe, linked
# statically with a Qt built here from Debian's own qt6-base source, and its
# two downloads, a portable zip and an installer. As root or with sudo.
# The static Qt is built once, in about half an hour, into a folder of
# /var/cache/drift-harbour named by the Qt version and a hash of all that it
# is built with, and reused while these stay the same.
set -eu
cd "$(dirname "$0")/.."
DRIFT_PACKAGES="cmake make ninja-build g++ qt6-base-dev dpkg-dev g++-mingw-w64-x86-64-posix jq
    librsvg2-bin icoutils nsis wine wine64 xvfb xauth xdotool x11-utils imagemagick unzip file git"
. scripts/deps.sh
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# The same Qt as the host's, whose moc, rcc and uic the cross build uses.
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
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
key=$({ printf '%s\n' "$version" "$@"; x86_64-w64-mingw32-g++-posix --version
    cat scripts/mingw-w64.cmake; } | sha256sum | cut -c 1-12)
qt=/var/cache/drift-harbour/qt-$version-$key

# Debian's source of the host's Qt, from deb-src entries made from the
# system's own entries that serve it, in a private apt folder of $1.
fetch_qt() {
    origin=$(apt-cache madison qt6-base-dev | awk -F ' [|] ' -v v="$version" '$2 == v { print $3; exit }')
    uri=${origin%% *}
    [ -n "$uri" ] || { echo "windows.sh: no apt source serves qt6-base-dev $version"; exit 1; }
    mkdir -p "$1/apt/lists/partial" "$1/apt/cache/archives/partial" "$1/apt/parts"
    for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ ! -f "$list" ] || awk -v uri="${uri%/}" '$1 == "deb" { for (i = 2; i <= NF; ++i) {
            sub("/$", "", $i); if ($i == uri) { $1 = "deb-src"; print; next } } }' "$list"
    done >"$1/apt/sources.list"
    for list in /etc/apt/sources.list.d/*.sources; do
        [ ! -f "$list" ] || awk -v uri="${uri%/}" 'BEGIN { RS = ""; FS = "\n" } {
            deb = hit = 0
            for (i = 1; i <= NF; ++i) {
                deb = deb || $i ~ /^Types:.*[ \t]deb([ \t]|$)/
                if ($i ~ /^URIs:/)
                    for (j = split($i, u, /[ \t]+/); j > 1; --j) { sub("/$", "", u[j]); hit = hit || u[j] == uri }
            }
            if (deb && hit) { for (i = 1; i <= NF; ++i) print ($i ~ /^Types:/ ? "Types: deb-src" : $i); print "" } }' "$list"
    done >"$1/apt/parts/qt.sources"
    apt="-o Dir::Etc::SourceList=$1/apt/sources.list -o Dir::Etc::SourceParts=$1/apt/parts
        -o Dir::State::Lists=$1/apt/lists -o Dir::Cache=$1/apt/cache -o APT::Sandbox::User=root"
    apt-get $apt -qq update
    # apt has checked the files against the signed index.
    (cd "$1" && apt-get $apt -qq source --download-only qt6-base="$version" >/dev/null &&
        dpkg-source -x --no-check ./*.dsc qtbase >/dev/null)
}

# The licence notices of Qt and of every part of it that its attributions
# name, where a file of that part went into the libraries the game links;
# with what Qt was built from and with (the rest of the arguments). Read from
# the build of $1 into $2/THIRD-PARTY-NOTICES.txt.
notices() {
    work=$1 out=$2/THIRD-PARTY-NOTICES.txt src=$1/qtbase
    shift 2
    # Every source file and header that went in, and every folder above one.
    (cd "$work/build" && libs=$(ls lib/*.a plugins/*/*.a | grep -v Test) &&
        { ninja -t inputs $libs; ninja -t deps $(ninja -t inputs $libs | grep '\.obj$'); }) |
        sed -n 's|^ *\(/[^ ]*\)$|\1|p' | xargs realpath -m --relative-to="$src" | grep -v '^\.\./' |
        awk -F/ '{ p = $1; print p; for (i = 2; i <= NF; ++i) { p = p "/" $i; print p } }' |
        sort -u >"$work/went"
    cat >"$out" <<END
Drift Harbour for Windows is linked statically with Qt, which scripts/windows.sh
of the game's source built from Debian's source package qt6-base $version
(apt-get source qt6-base=$version) with
$(x86_64-w64-mingw32-g++-posix --version | head -n 1), the game's
scripts/mingw-w64.cmake as CMake toolchain file, Debian's own moc, rcc and uic
of the same version (-DQT_HOST_PATH=/usr), and these options:

$(printf '    %s\n' "$@")

Qt is available under the GNU Lesser General Public License version 3, or the
GNU General Public License version 2 or 3; the texts follow, then the notices
of the parts of Qt under licences of their own, as Qt's attributions give them.
END
    for text in LGPL-3.0-only GPL-2.0-only GPL-3.0-only; do
        printf '\n==== Qt: %s\n\n' "$text" >>"$out"
        cat "$src/LICENSES/$text.txt" >>"$out"
    done
    # Qt's attributions may break a string across lines, which JSON may not.
    (cd "$src" && find src -name qt_attribution.json | LC_ALL=C sort) | while read -r path; do
        dir=$(dirname "$path") json=$work/attribution.json each='if type == "array" then .[] else . end'
        awk '{ for (i = 1; i <= length($0); ++i) { c = substr($0, i, 1); if (c == "\\") ++i; else if (c == "\"") open = !open }
               printf "%s%s", $0, open ? "\\n" : "\n" }' "$src/$path" >"$json"
        for id in $(jq -r "$each | .Id" "$json"); do
            entry="$each | select(.Id == \"$id\")"
            went=
            for file in $(jq -r "$entry | .Files // .Path // \".\"" "$json"); do
                ! grep -q -x -F "$(realpath -m --relative-to="$src" "$src/$dir/$file")" "$work/went" || went=1
            done
            [ -n "$went" ] || continue
            jq -r "$entry"' | "\n==== \(.Name)\(if .Version then " " + .Version else "" end)\n\n\(.License)\n\(.Copyright)\n"' \
                "$json" >>"$out"
            for file in $(jq -r "$entry | .LicenseFile // empty, (.LicenseFiles // [] | .[])" "$json"); do
                cat "$src/$dir/$file" >>"$out"
            done
        done
    done
}

if [ ! -d "$qt" ]; then
    echo "windows.sh: building Qt $version for Windows into $qt"
    echo "windows.sh: this is done once, and takes about half an hour"
    [ -w /var/cache/drift-harbour ] ||
        { $sudo mkdir -p /var/cache/drift-harbour && $sudo chown "$(id -u)" /var/cache/drift-harbour; }
    work=$(mktemp -d /var/tmp/drift-harbour-qt.XXXXXX)
    trap 'rm -rf "$work"' EXIT
    echo "windows.sh: fetching Debian's source of qt6-base $version"
    fetch_qt "$work"
    echo "windows.sh: configuring Qt"
    cmake -S "$work/qtbase" -B "$work/build" -G Ninja -DCMAKE_INSTALL_PREFIX="$qt" \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/scripts/mingw-w64.cmake" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -q DEB_HOST_MULTIARCH)/cmake" \
        "$@" >"$work/qt.log" 2>&1 || { tail -n 40 "$work/qt.log"; exit 1; }
    (ninja -C "$work/build" 2>&1; echo "ninja: exit $?") | tee -a "$work/qt.log" | while read -r step _; do
        case $step in \[*00/*\]) step=${step#?} && echo "windows.sh: Qt built ${step%?} steps" ;; esac
    done
    grep -q '^ninja: exit 0$' "$work/qt.log" || { tail -n 40 "$work/qt.log"; exit 1; }
    # Complete, or not there at all.
    rm -rf "$qt.part"
    cmake --install "$work/build" --prefix "$qt.part" >>"$work/qt.log"
    mkdir "$qt.part/notices"
    notices "$work" "$qt.part/notices" "$@"
    mv "$qt.part" "$qt"
    echo "windows.sh: Qt is ready in $qt"
fi

# A build folder made for another Qt starts anew.
grep -q -F "CMAKE_TOOLCHAIN_FILE:FILEPATH=$qt/" build-windows/CMakeCache.txt 2>/dev/null || rm -rf build-windows
cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/scripts/mingw-w64.cmake" -DDRIFT_QT_NOTICES="$qt/notices"
cmake --build build-windows --parallel
# A program that cannot start shows a message box, which no one closes here.
ctest --test-dir build-windows --output-on-failure --timeout 600
