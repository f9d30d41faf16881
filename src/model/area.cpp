// SPDX-License-Identifier: GPL-3.0-or-later
#include "area.h"

#include "palette.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr qreal outlineWidth = 2.0;
// The side of Qt's hatch patterns, in device pixels.
constexpr int hatchTile = 8;

// The hatch pattern as a texture for a device of the given scale: the tile
// enlarged to as many device pixels as it spans logical ones at scale 1,
// drawn one texture pixel to one device pixel.
QBrush scaledPattern(const QBrush &pattern, qreal scale)
{
    QImage tile(hatchTile, hatchTile, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    QPainter(&tile).fillRect(tile.rect(), pattern);
    const int side = qRound(hatchTile * scale);
    QBrush texture(tile.scaled(side, side));
    texture.setTransform(QTransform::fromScale(1 / scale, 1 / scale));
    return texture;
}

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
    QBrush hatch;
    switch (kind) {
    case RedGoal:
        painter->setPen(redPen);
        hatch = QBrush(redColor, Qt::FDiagPattern);
        break;
    case BlueGoal:
        painter->setPen(bluePen);
        hatch = QBrush(blueColor, Qt::BDiagPattern);
        break;
    case Barrier:
        painter->setPen(greyPen);
        hatch = QBrush(QColor(Palette::grey), Qt::DiagCrossPattern);
        break;
    }
    // The game draws with no transformation of its own, so the device's is
    // just its scale.
    const qreal scale = painter->deviceTransform().m11();
    if (scale != 1 && scale != scaledHatchScale) {
        scaledHatch = scaledPattern(hatch, scale);
        scaledHatchScale = scale;
    }
    painter->setBrush(scale == 1 ? hatch : scaledHatch);
    painter->drawPolygon(*this, Qt::OddEvenFill);
}
