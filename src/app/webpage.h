// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef WEBPAGE_H
#define WEBPAGE_H

#include <QObject>

// The game's side of its web page, in the browser only. The page lays the
// game out at the size of its window, which it learns here when the window
// is shown: the custom properties --game-width and --game-height of the
// page's container element, in CSS pixels at scale 1. It learns how fast the
// game runs from Module.driftTicks(), the number of the game's ticks so far.
// When the game quits, the program exits, and the page learns that through
// the loader.
class WebPage : public QObject
{
    Q_OBJECT

public:
    explicit WebPage(QObject *parent = nullptr);

    int ticks() const { return tickCount; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void countTick() { ++tickCount; }

    int tickCount = 0;
};

#endif
