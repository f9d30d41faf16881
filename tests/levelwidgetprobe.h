#ifndef LEVELWIDGETPROBE_H
#define LEVELWIDGETPROBE_H

#include "levelwidget.h"

// Reaches into the game widget for tests and the benchmark.
struct LevelWidgetProbe
{
    explicit LevelWidgetProbe(LevelWidget &widget)
        : w(widget)
    {}

    int &state() { return w.state; }
    int &remaining() { return w.remaining; }
    int &elapsed() { return w.elapsed; }
    int &level() { return w.level; }
    bool &dragging() { return w.dragging; }
    QPoint &pressPos() { return w.pressPos; }
    QPoint &mousePos() { return w.mousePos; }
    QPoint &wellPos() { return w.wellPos; }
    QList<LevelObject> &wells() { return w.wells; }
    QList<LevelObject> &particles() { return w.particles; }
    QList<Area> &areas() { return w.areas; }
    QPen &textPen() { return w.textPen; }
    QPen &dragLinePen() { return w.dragLinePen; }
    QPen &wellMarkPen() { return w.wellMarkPen; }
    void setState(int state) { w.setState(state); }
    void paintScene(QPainter *painter, QPaintEvent *event) { w.paintScene(painter, event); }

    LevelWidget &w;
};

#endif
