// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef WINDOWSYSTEM_H
#define WINDOWSYSTEM_H

// Called once, before the application object is made: sets what Qt must
// know of the window system before it connects to it.
void prepareWindowSystem();

// Called once, after the event loop has ended and before the application
// object is destroyed: leaves the connection to the window system so that
// Qt can close it without waiting for ever.
void settleWindowSystem();

#endif
