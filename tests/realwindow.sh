#!/bin/sh
# Usage: realwindow.sh <drift-harbour> <key>
# Starts the game in a real X window on a private Xvfb display, waits for the
# window "Drift Harbour" and its icon, clicks into the game, sends the key (ctrl+q,
# Escape) and requires the game to end by itself with exit code 0.
set -u
if [ -z "${DRIFT_ON_XVFB:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" env DRIFT_ON_XVFB=1 sh "$0" "$@"
fi
game=$1
key=$2

"$game" &
pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Drift Harbour$' | head -n 1)
if [ -z "$win" ]; then
    echo "no window named Drift Harbour appeared"
    kill "$pid" 2>/dev/null
    exit 1
fi
# The window carries the game's icon (its first entry: 256 pixels wide).
icon=$(xprop -id "$win" -f _NET_WM_ICON 32c ' $0\n' _NET_WM_ICON | awk '{print $2}')
if [ "$icon" != 256 ]; then
    echo "the window has no 256-pixel icon"
    kill "$pid"
    exit 1
fi
timeout 10 xdotool windowfocus --sync "$win"
# A click into the game widget gives it the keyboard focus (and starts the
# level). On a busy machine the focus may come late, so the key is sent
# again while the game still runs.
xdotool mousemove --window "$win" 400 300 click 1
for attempt in 1 2 3 4 5; do
    sleep 0.3
    xdotool key "$key"
    i=0
    while kill -0 "$pid" 2>/dev/null && [ "$i" -lt 20 ]; do
        sleep 0.1
        i=$((i + 1))
    done
    kill -0 "$pid" 2>/dev/null || break
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the game is still running after $key"
    kill "$pid"
    exit 1
fi
wait "$pid"
rc=$?
echo "exit code after $key: $rc"
[ "$rc" -eq 0 ]
