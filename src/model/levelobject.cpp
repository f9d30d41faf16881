// SPDX-License-Identifier: GPL-3.0-or-later
#include "levelobject.h"

#include "palette.h"

#include <QLineF>
#include <QPainter>

namespace {

constexpr qreal wellDotWidth = 24.0;
constexpr qreal particleDotWidth = 16.0;
constexpr qreal markWidth = 2.0;
constexpr int wellMarkHalfLength = 10;
constexpr int particleMarkHalfLength = 6;

} // namespace

LevelObject::LevelObject(int x, int y, int kind)
    : QPointF(x, y)
    , kind(kind)
    , velocity(0, 0)
    , acceleration(0, 0)
    , stopped(false)
    , redWellPen(Palette::solidPen(QColor(Palette::red), wellDotWidth))
    , blueWellPen(Palette::solidPen(QColor(Palette::blue), wellDotWidth))
    , redParticlePen(Palette::solidPen(QColor(Palette::red), particleDotWidth))
    , blueParticlePen(Palette::solidPen(QColor(Palette::blue), particleDotWidth))
    , markPen(Palette::solidPen(QColor(Qt::white), markWidth))
{}

LevelObject::~LevelObject() = default;

void LevelObject::moveTo(const QPointF &p)
{
    if (!stopped)
        QPointF::operator=(p);
}

void LevelObject::stop()
{
    stopped = true;
    velocity = QPointF(0, 0);
    acceleration = QPointF(0, 0);
}

void LevelObject::advance(float dt, const QPointF &a)
{
    const double step = dt;
    acceleration = a;
    const QPointF p1 = velocity * step + *this;
    const QPointF q = ((a * step) * step) / 2.0;
    moveTo(p1 + q);
    velocity = a * step + velocity;
}

void LevelObject::draw(QPainter *painter) const
{
    const bool well = kind == RedWell || kind == BlueWell;
    switch (kind) {
    case RedWell:
        painter->setPen(redWellPen);
        break;
    case BlueWell:
        painter->setPen(blueWellPen);
        break;
    case RedParticle:
        painter->setPen(redParticlePen);
        break;
    case BlueParticle:
        painter->setPen(blueParticlePen);
        break;
    }
    painter->drawPoint(*this);

    const int half = well ? wellMarkHalfLength : particleMarkHalfLength;
    const bool vertical = kind == RedWell || kind == RedParticle;
    const QPointF reach = vertical ? QPointF(0, half) : QPointF(half, 0);
    painter->setPen(markPen);
    painter->drawLine(QLineF(*this - reach, *this + reach));
}
