#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the game for the browser into build-web/, with its page, its tests
# and its download, then runs the tests in Chromium, Firefox and WebKitGTK
# and exits non-zero if any fails. As root or with sudo.
# The build needs Debian 13's emscripten, so it runs in a Debian 13 chroot,
# kept in the cache ($DRIFT_CACHE); there, once, a static Qt for WebAssembly
# is built from Debian 13's own qt6-base source into the same cache. The
# browsers are this system's own, driven from here.
set -eu
cd "$(dirname "$0")/.."
. scripts/lib/cache.sh

# Builds the game of the source folder $1 for the browser into the folder $2,
# with the options given, and its zip.
game() {
    from=$1 into=$2
    shift 2
    "$qt/bin/qt-cmake" -S "$from" -B "$into" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DQT_SKIP_AUTO_PLUGIN_INCLUSION=OFF -DDRIFT_QT_NOTICES="$qt/notices" "$@"
    cmake --build "$into"
    (cd "$into" && cpack -G ZIP >/dev/null)
}

# In the chroot: the static Qt, once, then the game, its tests and the zip.
build() {
    export EMSDK=/usr/share/emscripten
    # Core, Gui, Widgets and Test, optimised for size, with WebAssembly's
    # SIMD, and only Qt's own copies of the libraries it bundles. Left out:
    # the modules, widgets, dialogs, formats and calendars that the game does
    # not use, and which would be linked into it all the same, as Qt's styles,
    # widgets and documents refer to them.
    # Glyphs up to 256 pixels are drawn from Qt's glyph cache rather than
    # filled as paths at every paint: the game's 50-pixel texts at a phone's
    # ratio of 3 are 150. The limit is a macro shared by the paint engine and
    # FreeType's font engine; the QT_MAX_CACHED_GLYPH_SIZE variable would
    # raise only the former's, and the texts would vanish.
    set -- -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_SHARED_LIBS=OFF -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF -DFEATURE_wasm_simd128=ON \
        -DCMAKE_CXX_FLAGS=-DQT_MAX_CACHED_GLYPH_SIZE=256
    for feature in sql network dbus printsupport concurrent xml jpeg gif vulkan zstd system_zlib \
        system_png system_harfbuzz system_pcre2 system_doubleconversion system_textmarkdownreader \
        system_freetype system_libb2 \
        style_stylesheet itemviews graphicsview graphicseffect textedit textbrowser syntaxhighlighter \
        filedialog fontdialog colordialog progressdialog inputdialog errormessage wizard \
        calendarwidget datetimeedit mdiarea dockwidget toolbox splashscreen lcdnumber dial \
        keysequenceedit undoview fontcombobox commandlinkbutton completer fscompleter \
        filesystemmodel standarditemmodel undocommand undostack undogroup whatsthis \
        systemtrayicon desktopservices movie pdf textodfwriter textmarkdownreader \
        textmarkdownwriter raster_64bit raster_fp mimetype xmlstream sha3_fast \
        jalalicalendar islamiccivilcalendar hijricalendar \
        effects gestures scroller texthtmlparser cssparser widgettextcontrol lineedit tabbar \
        tabwidget spinbox checkbox radiobutton groupbox buttongroup statusbar statustip sizegrip \
        progressbar slider scrollbar scrollarea abstractslider rubberband messagebox \
        dialogbuttonbox dialog stackedwidget formlayout splitter settings translation timezone \
        timezone_locale datetimeparser commandlineparser filesystemwatcher imageformat_bmp \
        imageformat_ppm imageformat_xbm ico picture image_text \
        image_heuristic_mask tabletevent; do
        set -- "$@" -DFEATURE_$feature=OFF
    done
    qt_for="for the browser" qt_script=scripts/web.sh qt_compiler=em++
    # Windows that paint fast and show only what changed, at the pixel ratio
    # at which the page shows them, fills four pixels at a time, and no
    # standard icons, which the game never shows.
    qt_patches=scripts/qt-patches
    # Every text that the game and its menus draw is printable ASCII.
    qt_font_chars=20-7E
    qt_toolchain=$EMSDK/cmake/Modules/Platform/Emscripten.cmake
    qt_toolchain_name="emscripten's cmake/Modules/Platform/Emscripten.cmake (Debian's emscripten
$(dpkg-query -W -f='${Version}' emscripten))"
    . scripts/lib/staticqt.sh
    static_qt wasm 10 "$@"

    # A build folder made for another Qt starts anew.
    grep -q -F "CMAKE_TOOLCHAIN_FILE:FILEPATH=$qt/" build-web/CMakeCache.txt 2>/dev/null || rm -rf build-web
    game . build-web
    echo "web.sh: the same download, built again from a copy of the source in another folder"
    copy=/var/tmp/drift-harbour-copy
    rm -rf "$copy" && mkdir "$copy"
    tar -c --exclude='./build*' --exclude=node_modules --exclude=./.git . | tar -x -C "$copy"
    game "$copy" "$copy/build" -DBUILD_TESTING=OFF >/dev/null
    zip=$(cd build-web && ls drift-harbour-*-web.zip)
    cmp "build-web/$zip" "$copy/build/$zip"
    rm -rf "$copy"
}

if [ -n "${DRIFT_IN_CHROOT:-}" ]; then
    build
    exit
fi

[ "$(id -u)" -eq 0 ] || exec sudo DRIFT_CACHE="$DRIFT_CACHE" sh "$0" "$@"
DRIFT_PACKAGES="debootstrap cmake chromium firefox-esr webkit2gtk-driver xvfb xauth unzip brotli"
# Node.js from Debian unless one is there already, with its npm.
command -v npm >/dev/null || DRIFT_PACKAGES="$DRIFT_PACKAGES nodejs npm"
. scripts/lib/deps.sh
. scripts/lib/chroot.sh

# Debian 13 with emscripten and the host tools of its Qt, in a folder named
# by a hash of what is installed there; complete, or not there at all.
set -- emscripten cmake ninja-build qt6-base-dev qt6-base-dev-tools nodejs python3 dpkg-dev jq \
    librsvg2-bin xz-utils libharfbuzz-bin terser
root=$DRIFT_CACHE/trixie-$(echo "$@" | sha256sum | cut -c 1-12)
trap 'chroot_leave "$root"; chroot_leave "$root.part"' EXIT
trap 'exit 130' INT TERM
if [ ! -d "$root" ]; then
    echo "web.sh: making a Debian 13 chroot for the build in $root, in about three minutes"
    chroot_leave "$root.part" && rm -rf --one-file-system "$root.part"
    chroot_make trixie "$root.part" "$@"
    chroot_leave "$root.part"
    mv "$root.part" "$root"
fi
chroot_enter "$root"
chroot_bind "$root" "$PWD"
chroot_bind "$root" "$DRIFT_CACHE"
# The time of every file written: the last commit's, as on the desktop.
DRIFT_CHROOT_ENV="DRIFT_IN_CHROOT=1 DRIFT_CACHE=$DRIFT_CACHE
    SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}" \
    chroot_run "$root" sh -c "cd '$PWD' && sh scripts/web.sh"
chroot_leave "$root"

# The tests, in this system's browsers, which the chroot has not.
echo "web.sh: the tests in $(chromium --version 2>/dev/null), $(firefox-esr --version) and WebKitGTK" \
    "$(dpkg-query -W -f='${Version}' webkit2gtk-driver)"
npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
ctest --test-dir build-web --output-on-failure
