// SPDX-License-Identifier: GPL-3.0-or-later
// Linux desktops: what Qt's Wayland plugin needs of the game, at the start
// and at the end; under X11 neither has any effect.

#include "windowsystem.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QVersionNumber>
#include <qpa/qplatformnativeinterface.h>

#include <dlfcn.h>

// Qt before 6.8 holds a window as hidden while the compositor is late with a
// frame (by 100 ms), and while it does, does not tell the compositor the
// window's new size. A window maximised just then draws at the compositor's
// size with the old one declared, and the compositor ends the connection
// (weston did, on a busy machine). Newer Qt declares the size all the same;
// with an older one, a late frame does not hide the window.
void prepareWindowSystem()
{
    if (QLibraryInfo::version() < QVersionNumber(6, 8))
        qputenv("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", "0");
}

// On Wayland, Qt (6.4 to 6.11 at least) reads the connection on threads of
// its own: for one of them the main thread readies each read, which that
// thread then does. Should the application object be destroyed just after
// the event loop's last turn readied a read, before that thread has taken
// it up, the thread stops and leaves it readied, and Qt's other reading
// thread waits for it for ever: the window is gone, but the game never ends.
// A round trip from the main thread reads with that readied read and leaves
// none behind.
void settleWindowSystem()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    void *display =
        QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("wl_display");
    // Qt's Wayland plugin has loaded the client library; the game does not
    // link it, and needs it nowhere else.
    void *library = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return;
    using RoundTrip = int (*)(void *);
    const auto roundTrip = reinterpret_cast<RoundTrip>(dlsym(library, "wl_display_roundtrip"));
    if (roundTrip && display)
        roundTrip(display);
    dlclose(library);
}
