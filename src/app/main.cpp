#include "appid.h"
#include "moteforge.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QString::fromLatin1(applicationId));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/%1.png").arg(applicationId)));
    moteforge window;
    window.show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    QObject::connect(&window, &moteforge::exit, &app, &QApplication::quit);
    return app.exec();
}
