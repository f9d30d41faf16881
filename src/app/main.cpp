#include "moteforge.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    moteforge window;
    window.show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    QObject::connect(&window, &moteforge::exit, &app, &QApplication::quit);
    return app.exec();
}
