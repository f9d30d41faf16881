// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef LONGPRESS_H
#define LONGPRESS_H

#include <QBasicTimer>
#include <QObject>
#include <QPointF>

class QPointingDevice;
class QWidget;

// A finger held still on a widget is a right click, as on touch platforms:
// when a left press that a touch screen made has stayed within holdSlop
// pixels for holdTime, the widget gets a right press and release at that
// point, at once. The left press itself reaches the widget as it comes, so
// a finger that moves farther or lifts first was a left press all along,
// and a drag is not delayed. Mouse presses are left alone.
class LongPress : public QObject
{
    Q_OBJECT

public:
    static constexpr int holdTime = 500; // milliseconds
    static constexpr int holdSlop = 8;   // pixels, Manhattan length

    // Watches the target's own mouse events; a child of the target.
    explicit LongPress(QWidget *target);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    QWidget *target;
    QBasicTimer hold;
    // Where the finger went down, in the target's coordinates, and its screen.
    QPointF pressPos;
    const QPointingDevice *finger = nullptr;
};

#endif
