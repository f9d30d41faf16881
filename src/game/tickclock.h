// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TICKCLOCK_H
#define TICKCLOCK_H

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QObject>

// The game's clock: tick() every interval milliseconds of real time. A timer
// that fires late, as on a busy machine or in a page that the browser holds
// back, is followed by the ticks that fell due meanwhile, at most maxBurst
// at once; a longer delay is dropped, as a paused game would.
class TickClock : public QObject
{
    Q_OBJECT

public:
    static constexpr int maxBurst = 5;

    TickClock(int interval, QObject *parent);

    // The number of ticks to run when elapsed milliseconds have passed since
    // the start and done ticks were counted: those that fell due, at least
    // one, at most maxBurst. Counts them into done, and any dropped.
    static int due(qint64 elapsed, int interval, qint64 *done);

signals:
    void tick();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    const int interval;
    QBasicTimer timer;
    QElapsedTimer sinceStart;
    qint64 done = 0;
};

#endif
