// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickclock.h"

#include <QTimerEvent>

TickClock::TickClock(int interval, QObject *parent)
    : QObject(parent)
    , interval(interval)
{
    timer.start(interval, Qt::PreciseTimer, this);
    sinceStart.start();
}

int TickClock::due(qint64 elapsed, int interval, qint64 *done)
{
    const qint64 target = elapsed / interval;
    const int run = int(qBound(qint64(1), target - *done, qint64(maxBurst)));
    *done = qMax(*done + run, target);
    return run;
}

void TickClock::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != timer.timerId())
        return QObject::timerEvent(event);
    for (int n = due(sinceStart.elapsed(), interval, &done); n > 0; --n)
        emit tick();
}
