// SPDX-License-Identifier: GPL-3.0-or-later
#include "webpage.h"

#include "tickclock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

namespace {

void publish(const char *property, int pixels)
{
    emscripten::val container = emscripten::val::module_property("qtContainerElements")[0];
    container["style"].call<void>("setProperty", std::string(property),
                                  std::to_string(pixels) + "px");
}

// Exits from a callback of the runtime's own, which ends quietly: the loader
// tells the page, and no timer of Qt's runs any more.
void exitProgram(void *)
{
    emscripten_force_exit(0);
}

// Made with the application object, before main() goes on.
void createWebPage()
{
    new WebPage(QCoreApplication::instance());
}

int ticksSoFar()
{
    return QCoreApplication::instance()->findChild<WebPage *>()->ticks();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(createWebPage)

EMSCRIPTEN_BINDINGS(drift_harbour)
{
    emscripten::function("driftTicks", &ticksSoFar);
}

WebPage::WebPage(QObject *parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
    // On the web the event loop never returns: the program ends here.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            [] { emscripten_async_call(exitProgram, nullptr, 0); });
}

bool WebPage::eventFilter(QObject *watched, QEvent *event)
{
    // Qt shows the main window full screen, which here is all of the
    // container: the page sizes that to the window's own size.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        const auto *widget = static_cast<QWidget *>(watched);
        if (widget->windowType() == Qt::Window) {
            publish("--game-width", widget->minimumWidth());
            publish("--game-height", widget->minimumHeight());
            if (const auto *clock = widget->findChild<TickClock *>())
                connect(clock, &TickClock::tick, this, &WebPage::countTick, Qt::UniqueConnection);
        }
    }
    return false;
}
