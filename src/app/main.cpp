// SPDX-License-Identifier: GPL-3.0-or-later
#include "appid.h"
#include "moteforge.h"
#include "startupmessages.h"
#include "windowsystem.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <optional>

int main(int argc, char *argv[])
{
    prepareWindowSystem();
    holdStartupMessages();
    QApplication app(argc, argv);
    releaseStartupMessages();
    QApplication::setDesktopFileName(QString::fromLatin1(applicationId));
    QIcon icon;
    for (const int size : {48, 64})
        icon.addFile(QStringLiteral(":/%1x%1/apps/%2.png").arg(size).arg(applicationId));
    QApplication::setWindowIcon(icon);
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    // The window is made in the event loop's first turn and shown in its
    // second: a browser runs each turn as a task of its own, and a page
    // that starts the game is then never held for long at once.
    std::optional<moteforge> window;
    QTimer::singleShot(0, &app, [&] {
        window.emplace();
        QObject::connect(&*window, &moteforge::exit, &app, &QApplication::quit);
        QTimer::singleShot(0, &*window, &moteforge::show);
    });
    const int status = app.exec();
    settleWindowSystem();
    return status;
}
