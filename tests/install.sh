#!/bin/sh
# Usage: install.sh <build dir> <prefix>
# Installs the build into an empty prefix and requires exactly the files of
# installed-files.txt.
set -eu
. "$(dirname "$0")/filelist.sh"
rm -rf "$2"
cmake --install "$1" --prefix "$2"
check_files "$2" installed
