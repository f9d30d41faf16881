#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: winpackage.sh <build dir> <work dir> <version>
# The Windows program: GUI, WinMain, only Windows' DLLs, hardened, its icon
# and version. Its two downloads, made into the build dir. And the same
# program and zip, byte for byte, from a copy of the source built elsewhere.
set -eu
fail() { echo "$*" && exit 1; }
exe=$1/drift-harbour.exe
rm -rf "$2" && mkdir -p "$2/copy"

header=$(x86_64-w64-mingw32-objdump -p "$exe")
echo "$header" | grep -q '^Subsystem.*(Windows GUI)' || fail "not a GUI program"
[ "$(echo "$header" | grep -c -E '^\s*(HIGH_ENTROPY_VA|DYNAMIC_BASE|NX_COMPAT)$')" = 3 ] || fail "no ASLR or DEP"
# Windows' own DLLs are its API sets and those that Wine has one of.
for dll in $(echo "$header" | sed -n 's/^[[:space:]]*DLL Name: //p' | grep -v '^api-ms-win-'); do
    ls /usr/lib/x86_64-linux-gnu/wine/x86_64-windows | grep -q -i -x -F "$dll" || fail "imports $dll"
done
[ "$(x86_64-w64-mingw32-nm "$exe" | grep -c -E ' T (WinMain|__stack_chk_fail|__memcpy_chk)$')" = 3 ] ||
    fail "no WinMain, stack protector or fortified functions"
wrestool -x -t 14 "$exe" >"$2/icon.ico"
[ "$(icotool -l "$2/icon.ico" | sed 's/.*--width=\([0-9]*\).*/\1/' | sort -n | xargs)" = \
    "16 24 32 48 64 128 256" ] || fail "icon sizes: $(icotool -l "$2/icon.ico")"
version=$(wrestool -x --raw -t 16 "$exe" | strings -e l | xargs)
echo "$version" | grep -q "FileVersion $3 .*LegalCopyright Copyright (C) 2026 The Drift Harbour \
developers. GPL-3.0-or-later. .*ProductName Drift Harbour" || fail "version resource: $version"

(cd "$1" && cpack)
zip=$1/drift-harbour-$3-win64.zip
[ "$(unzip -Z1 "$zip" | sed 's|^[^/]*/||' | LC_ALL=C sort | xargs)" = \
    "LICENSE THIRD-PARTY-NOTICES.txt drift-harbour.exe" ] || fail "zipped: $(unzip -Z1 "$zip")"
unzip -q -d "$2/zip" "$zip"
for notice in "Debian's source package qt6-base" "-DBUILD_SHARED_LIBS=OFF" "Lesser General Public" \
    "(zlib)" "HarfBuzz" "PCRE2" "LibPNG"; do
    grep -q -F -e "$notice" "$2"/zip/*/THIRD-PARTY-NOTICES.txt || fail "no notice of $notice"
done
! x86_64-w64-mingw32-objdump -h "$2"/zip/*/drift-harbour.exe | grep -q '\.debug\|\.symtab' ||
    fail "not stripped"

tar -C "$(dirname "$0")/.." --exclude='./build*' -cf - . | tar -C "$2/copy" -xmf -
cmake -S "$2/copy" -B "$2/copy/build" $(sed -n \
    's/^\(CMAKE_BUILD_TYPE\|CMAKE_TOOLCHAIN_FILE\|QT_CHAINLOAD_TOOLCHAIN_FILE\|DRIFT_QT_NOTICES\):[A-Z]*=/-D\1=/p' \
    "$1/CMakeCache.txt")
cmake --build "$2/copy/build" --parallel --target drift-harbour
(cd "$2/copy/build" && cpack -G ZIP)
cmp "$exe" "$2/copy/build/drift-harbour.exe" || fail "the program differs when built again from a copy"
cmp "$zip" "$2/copy/build/${zip##*/}" || fail "the zip differs when made again"
