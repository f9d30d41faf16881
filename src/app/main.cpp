// SPDX-License-Identifier: GPL-3.0-or-later
#include "appid.h"
#include "moteforge.h"
#include "startupmessages.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    holdStartupMessages();
    QApplication app(argc, argv);
    releaseStartupMessages();
    QApplication::setDesktopFileName(QString::fromLatin1(applicationId));
    QIcon icon;
    for (const int size : {48, 64})
        icon.addFile(QStringLiteral(":/%1x%1/apps/%2.png").arg(size).arg(applicationId));
    QApplication::setWindowIcon(icon);
    moteforge window;
    window.show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    QObject::connect(&window, &moteforge::exit, &app, &QApplication::quit);
    return app.exec();
}
