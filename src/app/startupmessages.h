// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef STARTUPMESSAGES_H
#define STARTUPMESSAGES_H

// Qt's messages while the application object is made. Without a display
// that Qt can open, Qt prints several lines that suggest reinstalling and
// then aborts. Between these two calls that fatal error becomes one line on
// stderr and exit status 1, and Qt's other messages are held back until
// releaseStartupMessages() prints them.
void holdStartupMessages();
void releaseStartupMessages();

#endif
