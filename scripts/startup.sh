#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: startup.sh <drift-harbour> [<another build of it> ...]
# Starts each given program 15 times, in turn, on a private Xvfb display and
# prints for each the median time from its start to its mapped window, and
# the median of its peak memory (VmHWM) at that moment.
set -eu
if [ -z "${DRIFT_ON_XVFB:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" env DRIFT_ON_XVFB=1 sh "$0" "$@"
fi
work=$(mktemp -d)
mkfifo "$work/events"
stdbuf -oL xev -root -event substructure >"$work/events" &
xev=$!
exec 3<"$work/events"
for run in $(seq 15); do
    for program; do
        start=$(date +%s%N)
        "$program" 2>/dev/null &
        while read -r line <&3; do case $line in MapNotify*) break ;; esac; done
        mapped=$(date +%s%N)
        peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$!/status")
        kill $!
        wait $! 2>/dev/null || true
        echo "$(((mapped - start) / 1000)) $peak" >>"$work/$(echo "$program" | tr / _)"
    done
done
kill $xev
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for program; do
    results=$work/$(echo "$program" | tr / _)
    echo "$program: $(cut -d' ' -f1 "$results" | median) µs to a mapped window," \
        "$(cut -d' ' -f2 "$results" | median) KiB peak memory"
done
rm -rf "$work"
