// SPDX-License-Identifier: GPL-3.0-or-later
// On Wayland, Qt (6.4 to 6.11 at least) reads the connection on threads of
// its own: for one of them the main thread readies each read, which that
// thread then does. Should the application object be destroyed just after
// the event loop's last turn readied a read, before that thread has taken
// it up, the thread stops and leaves it readied, and Qt's other reading
// thread waits for it for ever: the window is gone, but the game never ends.
// A round trip from the main thread reads with that readied read and leaves
// none behind.

#include "windowsystem.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

#include <dlfcn.h>

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
