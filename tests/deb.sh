#!/bin/sh
# Usage: deb.sh <build dir> <work dir>
# Builds the .deb with CPack, unpacks it and checks its files, its section,
# that its binary is stripped and that it depends on the Qt 6 libraries.
set -eu
. "$(dirname "$0")/filelist.sh"
rm -rf "$2"
mkdir -p "$2"
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$2"
deb=$(ls "$2"/*.deb)
dpkg-deb -x "$deb" "$2/root"
check_files "$2/root/usr" packaged
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6core6 libqt6gui6 libqt6widgets6; do
    echo "$depends" | grep -q "$library" || { echo "no dependency on $library"; exit 1; }
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || { echo "section is not games"; exit 1; }
file "$2/root/usr/bin/drift-harbour" | grep -q ", stripped" || { echo "binary not stripped"; exit 1; }
echo "$(basename "$deb") is fine"
