// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef AREA_H
#define AREA_H

#include <QBrush>
#include <QColor>
#include <QPen>
#include <QPolygon>

class QPainter;

// A polygonal region of a level: a goal or a barrier. A particle is inside
// when containsPoint(point, Qt::OddEvenFill) holds, and the area is filled
// with the same rule, so a polygon that runs around twice (the frame) leaves
// its inner hole outside. Areas are values: lists hold their own copies.
class Area : public QPolygon
{
public:
    static constexpr int RedGoal = 0;
    static constexpr int BlueGoal = 1;
    static constexpr int Barrier = 2;

    Area(int kind, const QPolygon &polygon);
    virtual ~Area();

    // Draws the outline and the hatching of the area's kind; leaves that
    // pen and brush selected.
    void draw(QPainter *painter) const;

    int kind;
    QPen redPen;
    QPen bluePen;
    QPen greyPen;
    QColor redColor;
    QColor blueColor;

private:
    // Qt draws hatch patterns in device pixels, so on a HiDPI screen they
    // would be finer than the rest of the scene. There the hatching is this
    // texture instead: the pattern enlarged to the device's scale, built on
    // the first draw at that scale.
    mutable QBrush scaledHatch;
    mutable qreal scaledHatchScale = 1;
};

#endif
