#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: test-on.sh <suite> [script]        for example trixie, or sid
# Runs the whole test suite on another Debian release: makes a new chroot of
# <suite> with debootstrap, installs there with apt the .deb built on this
# system and starts it, then runs the test command of README.md (or the
# given script, such as scripts/windows.sh) on a clean clone of this
# checkout's HEAD. Needs root (or sudo) and a few GB in /var/tmp; unmounts
# and removes all it made, whatever the outcome.
set -eu
cd "$(dirname "$0")/.."
suite=${1:?usage: test-on.sh <suite> [script]} script=${2:-scripts/test.sh}
[ "$(id -u)" -eq 0 ] || exec sudo sh "$0" "$@"
DRIFT_PACKAGES="debootstrap git cmake make g++ qt6-base-dev qt6-base-private-dev dpkg-dev file"
. scripts/lib/deps.sh
. scripts/lib/chroot.sh

work=$(mktemp -d "/var/tmp/drift-harbour-$suite.XXXXXX")
root=$work/root
cleanup() {
    status=$?
    # --one-file-system: never into a mount that is still there, such as /dev.
    if chroot_leave "$root"; then
        rm -rf --one-file-system "$work"
    else
        echo "test-on.sh: still mounted under $work, left in place" >&2
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "test-on.sh: the .deb of this system"
git clone --quiet . "$work/host"
cmake -S "$work/host" -B "$work/host/build" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$work/host/build" --parallel >/dev/null
(cd "$work/host/build" && cpack -G DEB >/dev/null)

echo "test-on.sh: Debian $suite in $root"
chroot_make "$suite" "$root"
cp "$work"/host/build/*.deb "$root/root/drift-harbour.deb"
git clone --quiet . "$root/root/drift-harbour"

chroot_run "$root" sh -euc '
    apt-get update
    apt-get install -y --no-install-recommends /root/drift-harbour.deb
    cd /root/drift-harbour
    sh '"$script"'
    sh tests/window.sh /usr/games/drift-harbour x11 ctrl+q
    echo "test-on.sh: '"$script"' and the installed .deb pass on Debian '"$suite"'"'
