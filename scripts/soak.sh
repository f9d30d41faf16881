#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: soak.sh [--load] [--runs N] [regex]
# Runs the real-window tests of build/ (X11, Wayland) and the browser tests of
# build-web/ (Chromium, Firefox, WebKit) N times in a row (10 unless told),
# those whose names match the regex if one is given, and prints how many runs
# of each passed. With --load, beside a load of its own: stress-ng on both
# cores and the disk, and a parallel build of the game over and over. The
# log of every failed run is kept, with its screenshots, in a folder it
# names. For anyone who changes a test: run the test suite (test.sh) and
# the web build (web.sh) first; a folder not built is left out.
set -eu
cd "$(dirname "$0")/.."
runs=10 load=no
while [ $# -gt 0 ]; do
    case $1 in
    --load) load=yes ;;
    --runs) runs=$2 && shift ;;
    *) break ;;
    esac
    shift
done
pattern=${1:-.}
DRIFT_PACKAGES="cmake make g++ qt6-base-dev qt6-base-private-dev stress-ng"
. scripts/lib/deps.sh
work=$(mktemp -d /var/tmp/drift-harbour-soak.XXXXXX)
export DRIFT_FAILURES=$work
loads=

# The tests of the build folder $1 that are named by the regex $2 and the
# pattern given, one a line.
tests_of() {
    [ -f "$1/CTestTestfile.cmake" ] || { echo "soak.sh: no $1, left out" >&2 && return 0; }
    ctest --test-dir "$1" -N | sed -n 's/^ *Test *#[0-9]*: //p' | grep -E "$2" | grep -E -- "$pattern" || true
}

# Starts the load in the background: stress-ng, and a build of a copy of the
# source, cleaned and built again without end.
start_load() {
    stress-ng --cpu 2 --hdd 1 --hdd-bytes 256m --timeout 0 --quiet &
    loads=$!
    git archive --format=tar HEAD | (mkdir "$work/source" && tar -x -C "$work/source")
    cmake -S "$work/source" -B "$work/source/build" -DBUILD_TESTING=OFF >/dev/null
    (while :; do cmake --build "$work/source/build" --parallel --clean-first >/dev/null 2>&1; done) &
    loads="$loads $!"
}

# Ends the load, and the builds that its loop had started.
stop_load() {
    [ -n "$loads" ] || return 0
    for pid in $loads; do pkill -P "$pid" 2>/dev/null || true; kill "$pid" 2>/dev/null || true; done
    pkill -f "$work/source/build" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap 'stop_load' EXIT
trap 'exit 130' INT TERM

# Runs the test $2 of the build folder $1 once, and records whether it passed;
# a failed run's log goes to the work folder.
run_once() {
    local start=$(date +%s)
    if ctest --test-dir "$1" -R "^$(printf '%s' "$2" | sed 's/[][+.*^$]/\\&/g')\$" \
        --output-on-failure >"$work/last.log" 2>&1; then
        echo "$2 pass" >>"$work/results"
        echo "soak.sh: run $3: $2 passed in $(($(date +%s) - start)) s"
    else
        echo "$2 fail" >>"$work/results"
        mv "$work/last.log" "$work/$2.run$3.log"
        echo "soak.sh: run $3: $2 FAILED, its log: $work/$2.run$3.log"
    fi
}

window=$(tests_of build '^(x11|wayland)_')
browser=$(tests_of build-web '^(page|tst_game)_')
[ -n "$window$browser" ] || { echo "soak.sh: no test to run"; exit 1; }
[ $load = no ] || start_load
echo "soak.sh: $runs runs of" $window $browser "$([ $load = yes ] && echo "beside a load" || echo quiet)"
for run in $(seq "$runs"); do
    for test in $window; do run_once build "$test" "$run"; done
    for test in $browser; do run_once build-web "$test" "$run"; done
done
awk '{ runs[$1]++; passed[$1] += $2 == "pass" } END { for (t in runs) printf "%-20s %d of %d passed\n", t, passed[t], runs[t] }' \
    "$work/results" | sort
rm -f "$work/results" "$work/last.log"
rm -rf "$work/source"
grep -q . "$work"/*.log 2>/dev/null || { rmdir "$work" 2>/dev/null || true; exit 0; }
echo "soak.sh: the logs of failed runs are in $work"
exit 1
