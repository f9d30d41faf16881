// SPDX-License-Identifier: GPL-3.0-or-later
// Windows and the browser: Qt closes their window systems as it is.

#include "windowsystem.h"

void settleWindowSystem() {}
