// SPDX-License-Identifier: GPL-3.0-or-later
#include "longpress.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QWidget>

LongPress::LongPress(QWidget *target)
    : QObject(target)
    , target(target)
{
    target->installEventFilter(this);
}

bool LongPress::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *press = static_cast<QMouseEvent *>(event);
        hold.stop();
        if (press->button() == Qt::LeftButton &&
            press->pointingDevice()->type() == QInputDevice::DeviceType::TouchScreen) {
            pressPos = press->position();
            finger = press->pointingDevice();
            hold.start(holdTime, Qt::PreciseTimer, this);
        }
        break;
    }
    case QEvent::MouseMove:
        if ((static_cast<QMouseEvent *>(event)->position() - pressPos).manhattanLength() > holdSlop)
            hold.stop();
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::Hide:
        hold.stop();
        break;
    default:
        break;
    }
    return false;
}

void LongPress::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != hold.timerId())
        return;
    hold.stop();
    // The finger still holds the left button down.
    const QPointF global = target->mapToGlobal(pressPos);
    QMouseEvent press(QEvent::MouseButtonPress, pressPos, global, Qt::RightButton,
                      Qt::LeftButton | Qt::RightButton, Qt::NoModifier, finger);
    QCoreApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pressPos, global, Qt::RightButton,
                        Qt::LeftButton, Qt::NoModifier, finger);
    QCoreApplication::sendEvent(target, &release);
}
