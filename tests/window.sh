#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: window.sh <drift-harbour> none | x11|wayland <step>...
# none: with no display, or one that does not exist, the game must say so in a
# line and end with status 1. Else the game runs on a private Xvfb display, on
# X11 or on weston nested there, and takes the steps: a key sent until it ends
# (ctrl+q, Escape), a click on maximise or close, a double click on the title,
# a drag on the bottom right corner (edge) that must not enlarge the window.
# The field must stay 800 x 480 on the screen, and the game end with status 0.
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
if [ "$platform" = wayland ]; then
    export WAYLAND_DISPLAY=drift-test QT_QPA_PLATFORM=wayland
    weston --backend=x11-backend.so --width=1200 --height=900 --idle-time=0 \
        --socket=$WAYLAND_DISPLAY >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
    weston=$!
    for i in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break || sleep 0.1; done
fi
"$game" 2>"$tmp/game.log" &
pid=$!
fail() { echo "$*"; cat "$tmp/game.log"; exit 1; }
screen() { import -window root png:-; }
# Sets x and y to the top left of the field, 800 pixels of its colour wide.
field() {
    for i in $(seq 50); do
        set -- $(screen | convert - -fill black +opaque 'rgb(0,32,64)' -trim -format "%w %h %X %Y" info: 2>/dev/null)
        [ "${1:-0}" = 800 ] && x=$3 && y=$(($4 + $2 - 480)) && return 0
        sleep 0.2
    done
    return 1
}
field || fail "no field appeared on the screen"
[ $platform = wayland ] || xprop -f _NET_WM_ICON 32c ' $0\n' _NET_WM_ICON -id \
    "$(xdotool search --onlyvisible --name '^Drift Harbour$')" | grep -q ' 48$' || fail "no 48-pixel icon"
# A click starts the level (its clock then changes the field) and gives the game
# the keyboard focus. Weston follows the X pointer only once it has entered its window.
ready=$(screen | convert - -crop 800x480+$x+$y -format %# info:)
xdotool mousemove 1279 1023 sleep 0.2 mousemove $((x + 400)) $((y + 300)) click 1 sleep 1
[ "$(screen | convert - -crop 800x480+$x+$y -format %# info:)" != "$ready" ] || fail "the game took no click"
for step; do
    beside="%[pixel:p{$((x + 830)),$((y + 240))}]"
    before=$(screen | convert - -format "$beside" info:)
    case $step in
    maximise) xdotool mousemove $((x + 763)) $((y - 34)) click 1 ;;
    close) xdotool mousemove $((x + 786)) $((y - 34)) click 1 ;;
    title) xdotool mousemove $((x + 300)) $((y - 34)) click --repeat 2 --delay 80 1 ;;
    edge) xdotool mousemove $((x + 801)) $((y + 481)) mousedown 1 sleep 0.2 \
        mousemove $((x + 900)) $((y + 580)) sleep 0.5 mouseup 1 ;;
    *) for i in $(seq 25); do
        kill -0 $pid 2>/dev/null || break
        [ $((i % 5)) = 1 ] && xdotool key "$step"
        sleep 0.2
    done ;;
    esac
    sleep 1
    case $step in maximise | title | edge)
        kill -0 $pid 2>/dev/null || fail "the game ended after $step"
        field || fail "no 800 x 480 field after $step"
        [ $step != edge ] || [ "$(screen | convert - -format "$beside" info:)" = "$before" ] ||
            fail "the window grew by its edge" ;;
    esac
done
for i in $(seq 50); do kill -0 $pid 2>/dev/null && sleep 0.1; done
kill -0 $pid 2>/dev/null && fail "the game still runs after: $*"
grep -q drift.start=held "$tmp/game.log" || fail "messages from the start were lost"
wait $pid || fail "exit status $? after $*"
