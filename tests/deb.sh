#!/bin/sh
# Usage: deb.sh <build dir> <work dir>
# Builds the .deb with CPack, unpacks it and checks its files, its section,
# that its binary is stripped and that it depends on the Qt 6 libraries.
set -eu
rm -rf "$2"
mkdir -p "$2"
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$2"
deb=$(ls "$2"/*.deb)
dpkg-deb -x "$deb" "$2/root"
found=$(cd "$2/root/usr" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
expected=$(LC_ALL=C sort "$(dirname "$0")/installed-files.txt")
if [ "$found" != "$expected" ]; then
    echo "packaged files differ from installed-files.txt:"
    echo "$found"
    exit 1
fi
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6core6 libqt6gui6 libqt6widgets6; do
    echo "$depends" | grep -q "$library" || { echo "no dependency on $library"; exit 1; }
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || { echo "section is not games"; exit 1; }
file "$2/root/usr/bin/drift-harbour" | grep -q ", stripped" || { echo "binary not stripped"; exit 1; }
echo "$(basename "$deb"): $(echo "$found" | wc -l) files"
