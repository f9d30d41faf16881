// SPDX-License-Identifier: GPL-3.0-or-later
// Windows and the browser: Qt starts and closes their window systems as
// they are.

#include "windowsystem.h"

void prepareWindowSystem() {}

void settleWindowSystem() {}
