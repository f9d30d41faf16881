# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by windows.sh and web.sh: a static Qt for another target, built
# from Debian's own qt6-base source of the system's Qt version with the
# system's moc, rcc and uic, with the licence notices of all that went into
# it. Built once into the cache, $DRIFT_CACHE, and reused.
. scripts/lib/cache.sh

# Debian's source of the system's Qt, from deb-src entries made from the
# system's own entries that serve it, in a private apt folder of $1.
fetch_qt() {
    local origin uri list apt
    origin=$(apt-cache madison qt6-base-dev | awk -F ' [|] ' -v v="$version" '$2 == v { print $3; exit }')
    uri=${origin%% *}
    [ -n "$uri" ] || { echo "staticqt.sh: no apt source serves qt6-base-dev $version"; exit 1; }
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
# with what Qt was built from and with. Read from the build of $1 into
# $2/THIRD-PARTY-NOTICES.txt.
notices() {
    local work="$1" out="$2/THIRD-PARTY-NOTICES.txt" src="$1/qtbase" patched="" text path dir json each id
    local entry went file
    shift 2
    [ -z "$qt_patches" ] || patched=", to which it applied the game's $(echo $(patches)),"
    [ -z "${qt_font_chars:-}" ] ||
        patched="$patched whose fonts for the browser it cut to the characters $qt_font_chars with hb-subset,"
    # Every source file and header that went in, and every folder above one.
    (cd "$work/build" && libs=$(ls lib/*.a plugins/*/*.a | grep -v Test) &&
        { ninja -t inputs $libs; ninja -t deps $(ninja -t inputs $libs | grep '\.o\(bj\)\?$'); }) |
        sed -n 's|^ *\(/[^ ]*\)$|\1|p' | xargs realpath -m --relative-to="$src" | grep -v '^\.\./' |
        awk -F/ '{ p = $1; print p; for (i = 2; i <= NF; ++i) { p = p "/" $i; print p } }' |
        sort -u >"$work/went"
    cat >"$out" <<END
Drift Harbour $qt_for is linked statically with Qt, which $qt_script
of the game's source built from Debian's source package qt6-base $version
(apt-get source qt6-base=$version)$patched with
$($qt_compiler --version | head -n 1),
$qt_toolchain_name as CMake toolchain file,
Debian's own moc, rcc and uic of the same version (-DQT_HOST_PATH=/usr), and
these options:

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

# Configures Qt in $1/build from the source in $1/qtbase with the options
# given, builds it with progress shown, and installs it with its notices into
# $qt, complete or not at all.
build_qt() {
    local work="$1" step
    shift
    echo "$qt_script: configuring Qt"
    cmake -S "$work/qtbase" -B "$work/build" -G Ninja -DCMAKE_INSTALL_PREFIX="$qt" \
        -DCMAKE_TOOLCHAIN_FILE="$qt_toolchain" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -q DEB_HOST_MULTIARCH)/cmake" \
        "$@" >"$work/qt.log" 2>&1 || { tail -n 40 "$work/qt.log"; exit 1; }
    (ninja -C "$work/build" 2>&1; echo "ninja: exit $?") | tee -a "$work/qt.log" | while read -r step _; do
        case $step in \[*00/*\]) step=${step#?} && echo "$qt_script: Qt built ${step%?} steps" ;; esac
    done
    grep -q '^ninja: exit 0$' "$work/qt.log" || { tail -n 40 "$work/qt.log"; exit 1; }
    rm -rf "$qt.part"
    cmake --install "$work/build" --prefix "$qt.part" >>"$work/qt.log"
    mkdir "$qt.part/notices"
    notices "$work" "$qt.part/notices" "$@"
    mv "$qt.part" "$qt"
}

# Cuts the fonts that Qt builds into its platform for the browser, in the
# source folder $1, to the characters $qt_font_chars (as hb-subset's
# --unicodes takes them), keeping all they have for those: outlines,
# hinting, kerning.
cut_fonts() {
    local font
    for font in "$1"/src/3rdparty/wasm/*.ttf; do
        hb-subset --unicodes="$qt_font_chars" --output-file="$font.cut" "$font"
        mv "$font.cut" "$font"
    done
}

# The patches of the folder $qt_patches, if set, in the order of its series
# file, one path a line.
patches() {
    [ -z "$qt_patches" ] || sed -e '/^#/d' -e '/^ *$/d' -e "s|^|$qt_patches/|" "$qt_patches/series"
}

# static_qt <target> <minutes> <CMake option>...
# Sets qt to the folder of the system's Qt built static for <target>, named
# by the version and a hash of all that it is built with: the options, the
# compiler $qt_compiler, the toolchain file $qt_toolchain (described as
# $qt_toolchain_name), the patches of the game's folder $qt_patches, each
# by its path and content, since the notices name them, and the characters
# $qt_font_chars that the fonts are cut to, if set. Builds it first, in
# about <minutes>, if it is not there.
static_qt() {
    local target="$1" minutes="$2" version key sudo patch
    shift 2
    version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
    key=$({ printf '%s\n' "$version" "$@" "$qt_toolchain_name" $(patches) "${qt_font_chars:-}"
        $qt_compiler --version
        cat "$qt_toolchain" $(patches); } |
        sha256sum | cut -c 1-12)
    qt=$DRIFT_CACHE/qt-$target-$version-$key
    [ ! -d "$qt" ] || return 0
    echo "$qt_script: building Qt $version for $target into $qt"
    echo "$qt_script: this is done once, and takes about $minutes minutes"
    if [ ! -w "$DRIFT_CACHE" ]; then
        sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo mkdir -p "$DRIFT_CACHE" && $sudo chown "$(id -u)" "$DRIFT_CACHE"
    fi
    qt_work=$(mktemp -d /var/tmp/drift-harbour-qt.XXXXXX)
    trap 'rm -rf "$qt_work"' EXIT
    echo "$qt_script: fetching Debian's source of qt6-base $version"
    fetch_qt "$qt_work"
    for patch in $(patches); do
        patch -d "$qt_work/qtbase" -p1 --quiet <"$patch"
    done
    [ -z "${qt_font_chars:-}" ] || cut_fonts "$qt_work/qtbase"
    build_qt "$qt_work" "$@"
    rm -rf "$qt_work"
    trap - EXIT
    echo "$qt_script: Qt is ready in $qt"
}
