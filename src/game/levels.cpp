// SPDX-License-Identifier: GPL-3.0-or-later
// Level loading: the three levels, laid out from the widget's size, and the
// frame that every level ends with.

#include "levelwidget.h"

namespace {

// The frame reaches this far beyond every edge of the widget...
constexpr int frameOutside = 40;
// ...and this far into the widget.
constexpr int frameInside = 20;

} // namespace

void LevelWidget::loadLevel(int level)
{
    const int w = width();
    const int h = height();
    clearLevel();
    state = Ready;
    this->level = level;
    elapsed = 0;

    switch (level) {
    case 1:
        particles << LevelObject(300, h / 2, LevelObject::BlueParticle)
                  << LevelObject(w - 300, h / 2, LevelObject::BlueParticle);
        areas << Area(Area::BlueGoal, QPolygon({{40, 80}, {60, 80}, {60, h - 80}, {40, h - 80}}))
              << Area(Area::BlueGoal,
                      QPolygon({{w - 60, 80}, {w - 40, 80}, {w - 40, h - 80}, {w - 60, h - 80}}));
        break;
    case 2:
        particles << LevelObject(300, h / 2, LevelObject::RedParticle)
                  << LevelObject(w - 300, h / 2, LevelObject::RedParticle);
        areas << Area(Area::RedGoal, QPolygon({{40, 40}, {100, 40}, {40, 200}}))
              << Area(Area::RedGoal, QPolygon({{w - 100, 40}, {w - 40, 40}, {w - 40, 200}}));
        break;
    case 3:
        particles << LevelObject(60, h - 60, LevelObject::RedParticle)
                  << LevelObject(w - 60, h - 60, LevelObject::RedParticle)
                  << LevelObject(w / 2, h / 2, LevelObject::BlueParticle);
        areas << Area(Area::Barrier, QPolygon({{20, 40}, {300, h - 200}, {20, h - 100}}))
              << Area(Area::Barrier,
                      QPolygon({{w - 20, 40}, {w - 300, h - 200}, {w - 20, h - 100}}))
              << Area(Area::RedGoal, QPolygon({{200, 20}, {w - 200, 20}, {w / 2, 100}}))
              << Area(Area::BlueGoal,
                      QPolygon({{200, h - 20}, {w / 2, h - 100}, {w - 200, h - 20}}));
        break;
    default:
        // Any other number is an empty field inside the frame, and leaves
        // remaining as it was.
        break;
    }
    if (!particles.isEmpty())
        remaining = int(particles.size());
    addBorder();
    announce();
}

void LevelWidget::clearLevel()
{
    areas.clear();
    particles.clear();
    wells.clear();
}

void LevelWidget::addBorder()
{
    const int w = width();
    const int h = height();
    const int out = frameOutside;
    const int in = frameInside;
    // The outer ring, then the inner ring run the other way round: under the
    // odd-even rule only the band between them is inside.
    areas << Area(Area::Barrier, QPolygon({{-out, -out},
                                           {w + out, -out},
                                           {w + out, h + out},
                                           {-out, h + out},
                                           {-out, -out},
                                           {in, in},
                                           {in, h - in},
                                           {w - in, h - in},
                                           {w - in, in},
                                           {in, in}}));
}

QRect LevelWidget::frameBounds() const
{
    return QRect(QPoint(-frameOutside, -frameOutside),
                 QPoint(width() + frameOutside, height() + frameOutside));
}
