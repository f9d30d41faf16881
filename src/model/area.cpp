// SPDX-License-Identifier: GPL-3.0-or-later
#include "area.h"

#include "palette.h"

#include <QBrush>
#include <QPainter>

namespace {

constexpr qreal outlineWidth = 2.0;

} // namespace

Area::Area(int kind, const QPolygon &polygon)
    : QPolygon(polygon)
    , kind(kind)
{
    redColor.setRgb(Palette::red);
    blueColor.setRgb(Palette::blue);
    redPen = Palette::solidPen(redColor, outlineWidth);
    bluePen = Palette::solidPen(blueColor, outlineWidth);
    greyPen = Palette::solidPen(QColor(Palette::grey), outlineWidth);
}

Area::~Area() = default;

void Area::draw(QPainter *painter) const
{
    switch (kind) {
    case RedGoal:
        painter->setPen(redPen);
        painter->setBrush(QBrush(redColor, Qt::FDiagPattern));
        break;
    case BlueGoal:
        painter->setPen(bluePen);
        painter->setBrush(QBrush(blueColor, Qt::BDiagPattern));
        break;
    case Barrier:
        painter->setPen(greyPen);
        painter->setBrush(QBrush(QColor(Palette::grey), Qt::DiagCrossPattern));
        break;
    }
    painter->drawPolygon(*this, Qt::OddEvenFill);
}
