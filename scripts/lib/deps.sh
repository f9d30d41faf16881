# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the commands of scripts/: installs the Debian packages named in
# $DRIFT_PACKAGES that are missing, as root or through sudo.
missing=""
for package in $DRIFT_PACKAGES; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $package"
done
if [ -n "$missing" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing:$missing"
    $sudo apt-get update
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi
