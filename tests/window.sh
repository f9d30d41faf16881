#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: window.sh <drift-harbour> none | x11|wayland|wine <step>...
# none: without a display the game must say so in a line, with status 1. Else
# it runs on a private Xvfb display, on X11, on weston there or under Wine (in
# wine.sh's prefix), and takes the steps: a key (ctrl+q, Escape) or a click
# on close sent until it ends, a click on maximise, a double click on the
# title, a drag on the corner (edge) that must not enlarge it, a drag that
# sets a well. The field stays 800 x 480, maximised centred on its colour;
# the end, status 0.
set -u
if [ "$2" = none ]; then
    for display in "-u DISPLAY" DISPLAY=:4711; do
        out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $display "$1" 2>&1)
        rc=$?
        [ $rc = 1 ] && [ "$out" = "drift-harbour: no display could be opened" ] ||
            { echo "with $display: status $rc, said: $out" && exit 1; }
    done
    exit 0
elif [ -z "${DRIFT_ON_XVFB:-}" ]; then
    # Display numbers from one of its own: tests side by side do not race for one.
    exec xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24" env DRIFT_ON_XVFB=1 sh "$0" "$@"
fi
game=$1 platform=$2 weston= pid=
shift 2
tmp=$(mktemp -d)
trap 'kill $pid $weston 2>/dev/null; rm -rf "$tmp"' EXIT
# A malformed logging rule makes Qt warn while the application object is made;
# the game must print that once it has started.
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$tmp QT_LOGGING_RULES=drift.start=held
run=
exe() { sh "$(dirname "$0")/wine.sh" exe "$@"; }
if [ "$platform" = wine ]; then
    # Without a window manager, Wine draws the title bar.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    export WINEQT_LOGGING_RULES=$QT_LOGGING_RULES
    run=exe
elif [ "$platform" = wayland ]; then
    export WAYLAND_DISPLAY=drift-test QT_QPA_PLATFORM=wayland
    # Qt takes every frame that weston has not shown within a millisecond
    # for late, as it would take some on a busy machine.
    export QT_WAYLAND_FRAME_CALLBACK_TIMEOUT=1
    # Its log holds every message to and from its clients, for a failure to show.
    weston --backend=x11-backend.so --width=1200 --height=900 --idle-time=0 \
        --socket=$WAYLAND_DISPLAY --logger-scopes=log,proto >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
    weston=$!
    for i in $(seq 300); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break || sleep 0.1; done
fi
$run "$game" 2>"$tmp/game.log" &
pid=$!
screen() { import -window root png:-; }
# Says what failed, with the game's messages; where $DRIFT_FAILURES names a
# folder, the screen and weston's log go there too.
fail() {
    echo "$*"
    cat "$tmp/game.log"
    if [ -n "${DRIFT_FAILURES:-}" ]; then
        screen >"$DRIFT_FAILURES/$platform-$$.png" && echo "the screen: $DRIFT_FAILURES/$platform-$$.png"
        # Weston's log without the messages of each frame drawn.
        [ -z "$weston" ] || grep -v -E '\.(attach|damage|damage_buffer|commit|frame|done|release)\(|delete_id' \
            "$tmp/weston.log" >"$DRIFT_FAILURES/weston-$$.log"
        # Where the game still runs, what each of its threads is doing, and
        # which of its windows Qt holds active and focused (none: 0x0).
        [ -n "$run" ] || ! kill -0 $pid 2>/dev/null || ! command -v gdb >/dev/null ||
            gdb -p $pid -batch -ex 'thread apply all bt' \
                -ex 'print ((void *(*)(void))_ZN15QGuiApplication11focusWindowEv)()' \
                -ex 'print ((void *(*)(void))_ZN12QApplication12activeWindowEv)()' \
                >"$DRIFT_FAILURES/threads-$$.txt" 2>&1
    fi
    exit 1
}
# Width, height, left and top of what is left of the screen on stdin when the
# given options have turned all else black.
box() { convert - "$@" -trim -format "%w %h %X %Y" info: 2>/dev/null | tr -d +; }
# Waits until the window shows as $1 (restored or maximised, either if empty)
# and sets shown to that, left, top and right to the window's edges below its
# menu bar, and x and y to the field's top left. The box of the field's colour
# on the screen runs from the icon in the title bar to the window's bottom.
# Restored, it is 800 wide: the field is all of the window. Maximised, it
# fills the screen, with the field (the box of all else) centred there.
field() {
    want=$1
    for i in $(seq 50); do
        set -- $(screen | box -fill black +opaque 'rgb(0,32,64)')
        left=${3:-0} right=$((${3:-0} + ${1:-0})) bottom=$((${4:-0} + ${2:-0}))
        if [ "$want" != maximised ] && [ "${1:-0}" = 800 ]; then
            x=$left y=$((bottom - 480)) top=$((bottom - 480)) shown=restored
            return 0
        elif [ "$want" != restored ] && [ "${1:-0}" -gt 1100 ] && [ "$2" -gt 700 ]; then
            # The window's last column is of the field's colour below the menu bar.
            top=$((bottom - $(screen | convert - -crop "1x$2+$((right - 1))+$4" -fill black \
                +opaque 'rgb(0,32,64)' -fill white -fuzz 0 -opaque 'rgb(0,32,64)' \
                -format "%[fx:round(mean * h)]" info:)))
            set -- $(screen | box -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
                -fill black -opaque 'rgb(0,32,64)')
            x=$((left + $3)) y=$((top + $4))
            # The margins on either side differ by a pixel at most.
            across=$((right - x - 800 - $3)) down=$((bottom - y - 480 - $4))
            [ "$1 $2" = "800 480" ] && [ $((across * across)) -le 1 ] && [ $((down * down)) -le 1 ] &&
                shown=maximised && return 0
        fi
        sleep 0.2
    done
    return 1
}
field restored || fail "no field appeared on the screen"
# The two icons' widths: the first at 0, the second after the 2 + 48 * 48 values of the first.
[ $platform != x11 ] || xprop -f _NET_WM_ICON 32c ' $0 $2306\n' _NET_WM_ICON -id \
    "$(xdotool search --onlyvisible --name '^Drift Harbour$')" | grep -q ' 48 64$' || fail "no 48 and 64-pixel icons"
# Waits, up to $1 seconds, until the command succeeds: the machine may be busy.
within() {
    end=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.2
    done
}
ended() { ! kill -0 $pid 2>/dev/null; }
field_image() { screen | convert - -crop 800x480+$x+$y -format %# info:; }
# A click starts the level (its clock then changes the field) and gives the game
# the keyboard focus. Weston follows the X pointer only once it has entered its window.
ready=$(field_image)
xdotool mousemove 1279 1023 sleep 0.2 mousemove $((x + 400)) $((y + 300)) click 1
changed() { [ "$(field_image)" != "$ready" ]; }
within 60 changed || fail "the game took no click"
# The close button, left of and above the field's top right.
[ $platform = wine ] && close="11 29" || close="14 34"
pixel() { screen | convert - -format "%[pixel:p{$1,$2}]" info:; }
well_shown() { [ "$(pixel $((x + 90)) $((y + 300)))" = "srgb(255,64,64)" ]; }
for step; do
    # The steps' times, which a failure prints.
    echo "$(date +%T) $step"
    before=$(pixel $((x + 830)) $((y + 240)))
    case $step in
    # Each click ends on weston's panel, out of the way of what is checked.
    maximise) xdotool mousemove $((right - 37)) $((top - 34)) click 1 mousemove 600 5 ;;
    # Close, and keys, again and again until the game has ended: under load a
    # compositor may lose the first (weston did once in 30 runs).
    close) for i in $(seq 12); do
        xdotool mousemove $((right - ${close% *})) $((top - ${close#* })) click 1 mousemove 600 5
        within 5 ended && break
    done ;;
    # Sets a red well at 100, 310, whose square reaches 10 pixels up and left.
    well) xdotool mousemove $((x + 100)) $((y + 290)) mousedown 1 sleep 0.2 \
        mousemove $((x + 100)) $((y + 330)) sleep 0.2 mouseup 1 ;;
    title) xdotool mousemove $((left + 300)) $((top - 34)) click --repeat 2 --delay 80 1 mousemove 600 5 ;;
    edge) xdotool mousemove $((x + 801)) $((y + 481)) mousedown 1 sleep 0.2 \
        mousemove $((x + 900)) $((y + 580)) sleep 0.5 mouseup 1 ;;
    *) for i in $(seq 60); do
        ended && break
        xdotool key "$step"
        sleep 1
    done ;;
    esac
    # Maximise switches, a drag on the edge keeps the state, and a double click
    # on the title switches with the title bars that do so; with another the
    # window stays as it is. The first double click tells which.
    case $step in
    maximise | title) [ $shown = restored ] && want=maximised || want=restored
        [ $step = maximise ] || [ "${switches:-yes}" = yes ] || want=$shown ;;
    edge) sleep 1 && want=$shown ;;
    esac
    case $step in maximise | title | edge)
        ended && fail "the game ended after $step"
        if field "$want"; then
            [ $step != title ] || switches=${switches:-yes}
        elif [ $step = title ] && [ -z "${switches:-}" ] && field "$shown"; then
            switches=no
        else
            fail "no 800 x 480 field $want after $step"
        fi
        [ $step != edge ] || [ "$(pixel $((x + 830)) $((y + 240)))" = "$before" ] ||
            fail "the window grew by its edge" ;;
    well) within 60 well_shown || fail "no well where it was set" ;;
    esac
done
within 60 ended || fail "the game still runs after: $*"
grep -q drift.start=held "$tmp/game.log" || fail "messages from the start were lost"
# On Wayland the window names its desktop entry, whose icon a dock shows.
[ -z "$weston" ] || grep -q 'set_app_id("io.github.driftharbour.driftharbour")' "$tmp/weston.log" ||
    fail "the window named no desktop entry"
wait $pid || fail "exit status $? after $*"
