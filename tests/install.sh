#!/bin/sh
# Usage: install.sh <build dir> <prefix>
# Installs the build into an empty prefix and requires exactly the files of
# installed-files.txt.
set -eu
rm -rf "$2"
cmake --install "$1" --prefix "$2"
found=$(cd "$2" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
expected=$(LC_ALL=C sort "$(dirname "$0")/installed-files.txt")
if [ "$found" != "$expected" ]; then
    echo "installed files differ from installed-files.txt:"
    echo "$found"
    exit 1
fi
echo "installed: $(echo "$found" | wc -l) files"
