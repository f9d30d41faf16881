# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that keep heavy builds (static Qts, chroots): the
# folder of that cache, $DRIFT_CACHE, by default /var/cache/drift-harbour,
# made absolute, as chroots see it at the same path.
DRIFT_CACHE=$(realpath -m "${DRIFT_CACHE:-/var/cache/drift-harbour}")
export DRIFT_CACHE
