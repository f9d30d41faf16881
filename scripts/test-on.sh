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
DRIFT_PACKAGES="debootstrap git cmake make g++ qt6-base-dev dpkg-dev file"
. scripts/deps.sh

work=$(mktemp -d "/var/tmp/drift-harbour-$suite.XXXXXX")
root=$work/root
cleanup() {
    status=$?
    for process in /proc/[0-9]*; do
        [ "$(readlink "$process/root" 2>/dev/null)" != "$root" ] || kill -9 "${process#/proc/}" 2>/dev/null || true
    done
    for mount in dev sys proc; do
        umount -R "$root/$mount" 2>/dev/null || true
    done
    # --one-file-system: never into a mount that is still there, such as /dev.
    if grep -q " $work/" /proc/mounts; then
        echo "test-on.sh: still mounted under $work, left in place" >&2
    else
        rm -rf --one-file-system "$work"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# Runs a long step so that a signal ends this script at once, not after it.
run() {
    "$@" &
    wait $!
}

echo "test-on.sh: the .deb of this system"
git clone --quiet . "$work/host"
cmake -S "$work/host" -B "$work/host/build" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$work/host/build" --parallel >/dev/null
(cd "$work/host/build" && cpack -G DEB >/dev/null)

echo "test-on.sh: Debian $suite in $root"
run debootstrap --variant=minbase "$suite" "$root" "${DRIFT_MIRROR:-http://deb.debian.org/debian}" \
    >"$work/debootstrap.log" || { tail -n 20 "$work/debootstrap.log"; exit 1; }
# Unstable's Release file may have expired against this machine's clock.
[ "$suite" != sid ] || echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/99valid-until"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
cp "$work"/host/build/*.deb "$root/root/drift-harbour.deb"
git clone --quiet . "$root/root/drift-harbour"

run chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 sh -euc '
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends /root/drift-harbour.deb
    cd /root/drift-harbour
    sh '"$script"'
    sh tests/window.sh /usr/games/drift-harbour x11 ctrl+q
    echo "test-on.sh: '"$script"' and the installed .deb pass on Debian '"$suite"'"'
