// SPDX-License-Identifier: GPL-3.0-or-later
// The simulation step: wells pull and push the free particles, areas
// capture them, and the game passes or fails.

#include "levelwidget.h"

#include "rounding.h"

#include <QTimer>

#include <cmath>
#include <limits>
#include <utility>

namespace {

// The time stops here, the largest multiple of a tick that an int holds.
constexpr int elapsedLimit =
    std::numeric_limits<int>::max() / LevelWidget::tickInterval * LevelWidget::tickInterval;

// A well attracts the particles of its own colour and repels all others.
bool attracts(int wellKind, int particleKind)
{
    return (wellKind == LevelObject::RedWell && particleKind == LevelObject::RedParticle) ||
           (wellKind == LevelObject::BlueWell && particleKind == LevelObject::BlueParticle);
}

bool isGoalOf(int areaKind, int particleKind)
{
    return (areaKind == Area::RedGoal && particleKind == LevelObject::RedParticle) ||
           (areaKind == Area::BlueGoal && particleKind == LevelObject::BlueParticle);
}

} // namespace

float LevelWidget::distance(const QPointF &a, const QPointF &b)
{
    const QPointF d = a - b;
    const float r = float(std::sqrt(d.x() * d.x() + d.y() * d.y()));
    return r == 0.0f ? 0.01f : r;
}

void LevelWidget::animate()
{
    const auto *timer = qobject_cast<QTimer *>(sender());
    const int interval = timer ? timer->interval() : tickInterval;
    const float dt = float(interval) / 100.0f;

    for (LevelObject &particle : particles) {
        if (particle.stopped)
            continue;
        // Every well contributes a unit vector, whatever its distance.
        QPointF a(0, 0);
        for (const LevelObject &well : std::as_const(wells)) {
            const QPointF pull = (well - particle) / double(distance(well, particle));
            if (attracts(well.kind, particle.kind))
                a += pull;
            else
                a -= pull;
        }
        particle.advance(dt, a);
        capture(particle);
    }

    // The step that passes or fails the level counts no time.
    if (state == Running)
        elapsed = elapsed > elapsedLimit - interval ? elapsedLimit : elapsed + interval;
    repaint();
}

void LevelWidget::capture(LevelObject &particle)
{
    const QPoint q = toPointHalfUp(particle);
    if (!frameBounds().contains(q)) {
        // Fast enough to jump over the frame's band in one step: the frame
        // still catches it, or it would fly on forever.
        setState(Failed);
        particle.stop();
        return;
    }
    for (const Area &area : std::as_const(areas)) {
        if (!area.containsPoint(q, Qt::OddEvenFill))
            continue;
        if (isGoalOf(area.kind, particle.kind)) {
            if (--remaining == 0)
                setState(Passed);
        } else {
            setState(Failed);
        }
        particle.stop();
    }
}
