# Sourced by install.sh and deb.sh: check_files <root> <what> requires the
# files below <root> to be exactly those of installed-files.txt.
check_files() {
    found=$(cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
    expected=$(LC_ALL=C sort "$(dirname "$0")/installed-files.txt")
    if [ "$found" != "$expected" ]; then
        echo "$2 files differ from installed-files.txt:"
        echo "$found"
        exit 1
    fi
    echo "$2: $(echo "$found" | wc -l) files"
}
