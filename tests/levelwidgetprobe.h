// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef LEVELWIDGETPROBE_H
#define LEVELWIDGETPROBE_H

#include "levelwidget.h"

// Reaches into the game widget for the tests and the benchmark.
struct LevelWidgetProbe
{
    LevelWidget &w;
    int &state() { return w.state; }
    int &remaining() { return w.remaining; }
    int &elapsed() { return w.elapsed; }
    int &level() { return w.level; }
    bool &dragging() { return w.dragging; }
    QList<LevelObject> &wells() { return w.wells; }
    QList<LevelObject> &particles() { return w.particles; }
    QList<Area> &areas() { return w.areas; }
    // The drag's press point, last mouse position and well position.
    QString drag() const
    {
        return QString::asprintf("%d,%d>%d,%d@%d,%d", w.pressPos.x(), w.pressPos.y(),
                                 w.mousePos.x(), w.mousePos.y(), w.wellPos.x(), w.wellPos.y());
    }
    void paintScene(QPainter *painter, QPaintEvent *event) { w.paintScene(painter, event); }
};

#endif
