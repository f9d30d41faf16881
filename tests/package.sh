#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: package.sh <build dir> <work dir>
# Installs the build: just the game's files, a valid desktop entry and metainfo,
# a game that runs. Then the .deb: the same files with the binary in /usr/games,
# no lintian error or warning, section games, a stripped and hardened binary,
# Qt 6 in Depends; and the same bytes again from a copy built in another folder.
set -eu
id=io.github.driftharbour.driftharbour
icons=share/icons/hicolor
expected=$(printf '%s\n' bin/drift-harbour share/applications/$id.desktop \
    share/doc/drift-harbour/changelog.gz share/doc/drift-harbour/copyright \
    share/man/man6/drift-harbour.6.gz share/metainfo/$id.metainfo.xml $icons/scalable/apps/$id.svg \
    $icons/48x48/apps/$id.png $icons/64x64/apps/$id.png $icons/128x128/apps/$id.png \
    $icons/256x256/apps/$id.png)
fail() { echo "$*" && exit 1; }
files() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }
clean() { ! echo "$2" | grep -E '^[EW]:' || fail "$1 reports the errors or warnings above"; }
rm -rf "$2"

cmake --install "$1" --prefix "$2/prefix"
[ "$(files "$2/prefix")" = "$(echo "$expected" | LC_ALL=C sort)" ] || fail "installed: $(files "$2/prefix")"
desktop-file-validate "$2"/prefix/share/applications/*.desktop
clean appstreamcli "$(appstreamcli validate --pedantic --explain --no-net "$2"/prefix/share/metainfo/*)"
sh "$(dirname "$0")/window.sh" "$2/prefix/bin/drift-harbour" x11 ctrl+q

cpack -G DEB --config "$1/CPackConfig.cmake" -B "$2/deb"
deb=$(ls "$2"/deb/*.deb)
dpkg-deb -x "$deb" "$2/root"
[ "$(files "$2/root/usr")" = "$(echo "$expected" | sed 's|^bin/|games/|' | LC_ALL=C sort)" ] ||
    fail "packaged: $(files "$2/root/usr")"
tags=$(lintian -I --tag-display-limit 0 "$deb" 2>/dev/null)
clean lintian "$tags"
! echo "$tags" | grep -E 'hardening-|unneeded-section' || fail "lintian finds the binary unhardened"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "not in section games"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6core6.*libqt6gui6.*libqt6widgets6' || fail "no Qt 6 in Depends"
game=$2/root/usr/games/drift-harbour
file "$game" | grep -q ", stripped" || fail "binary not stripped"
# Every check that applies: branch protection is arm64's, and the linker marks
# control-flow protection only if the C library's start files carry it too.
unseen='^$'
[ "$(dpkg --print-architecture)" = arm64 ] || unseen="$unseen|Branch Protection"
readelf -n "$(g++ -print-file-name=Scrt1.o)" | grep -q 'IBT, SHSTK' || unseen="$unseen|Control flow"
! hardening-check "$game" | grep -v -E "$unseen" | grep ': no' || fail "not hardened"

mkdir "$2/copy"
tar -C "$(dirname "$0")/.." --exclude='./build*' -cf - . | tar -C "$2/copy" -xmf -
cmake -S "$2/copy" -B "$2/copy/build" -DBUILD_TESTING=OFF \
    -DCMAKE_BUILD_TYPE="$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$1/CMakeCache.txt")"
cmake --build "$2/copy/build" --parallel --target drift-harbour docs
(cd "$2/copy/build" && cpack -G DEB)
cmp "$deb" "$2"/copy/build/*.deb || fail "the .deb differs when built again from a copy of the source"
