# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by test-on.sh and web.sh, as root: Debian chroots made with
# debootstrap, entered with /proc, /sys and /dev mounted (and whatever else
# the caller binds), and left with nothing of theirs mounted or running.

# Runs a long command so that a signal ends the calling script at once, not
# after the command.
interruptible() {
    "$@" &
    wait $!
}

# Makes a minimal chroot of Debian $1 in $2, with the packages named by the
# further arguments installed, and enters it.
chroot_make() {
    local suite="$1" root="$2"
    shift 2
    mkdir -p "$root"
    interruptible debootstrap --variant=minbase "$suite" "$root" "${DRIFT_MIRROR:-http://deb.debian.org/debian}" \
        >"$root.debootstrap.log" 2>&1 || { tail -n 20 "$root.debootstrap.log"; return 1; }
    rm -f "$root.debootstrap.log"
    # Unstable's Release file may have expired against this machine's clock.
    [ "$suite" != sid ] || echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/99valid-until"
    chroot_enter "$root"
    [ $# -eq 0 ] || chroot_run "$root" sh -euc 'apt-get -qq update
        apt-get install -qq -y --no-install-recommends "$@" >/dev/null' sh "$@"
}

# Mounts /proc, /sys and /dev in the chroot $1, and gives it this system's
# name servers. First leaves it, as a run that was killed may have left
# something mounted there.
chroot_enter() {
    chroot_leave "$1" || return
    cp /etc/resolv.conf "$1/etc/resolv.conf"
    mount -t proc proc "$1/proc"
    mount -t sysfs sysfs "$1/sys"
    mount --rbind /dev "$1/dev"
    mount --make-rslave "$1/dev"
}

# Binds the folder $2 of this system at the same path in the chroot $1.
chroot_bind() {
    mkdir -p "$1$2"
    mount --bind "$2" "$1$2"
}

# Runs a command in the chroot $1 with a clean environment and the variables
# of $DRIFT_CHROOT_ENV.
chroot_run() {
    local root="$1"
    shift
    interruptible chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive ${DRIFT_CHROOT_ENV:-} "$@"
}

# Ends every process that runs in the chroot $1 and unmounts all that is
# mounted in it, innermost first. Fails if something stays mounted.
chroot_leave() {
    local process mount
    for process in /proc/[0-9]*; do
        [ "$(readlink "$process/root" 2>/dev/null)" != "$1" ] || kill -9 "${process#/proc/}" 2>/dev/null || true
    done
    awk -v root="$1/" 'index($2, root) == 1 { print $2 }' /proc/mounts | sort -r | while read -r mount; do
        umount -l "$mount" 2>/dev/null || true
    done
    ! grep -q " $1/" /proc/mounts
}
