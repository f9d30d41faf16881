// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse input: a left drag sets a gravity well, a left click removes one,
// a right click restarts, a left click after a pass advances.
//
// The handlers only change members; the next tick shows their effect.

#include "levelwidget.h"

#include "rounding.h"

#include <QMouseEvent>

namespace {

// A release this far (Manhattan length) or farther from the press sets a
// well; a shorter one is a click.
constexpr int dragThreshold = 20;
// A click removes a well this near (Manhattan length) or nearer.
constexpr int hitTolerance = 9;
constexpr int levelCount = 3;

QPoint positionOf(const QMouseEvent *event)
{
    return toPointHalfUp(event->position());
}

} // namespace

void LevelWidget::mousePressEvent(QMouseEvent *event)
{
    const bool left = event->button() == Qt::LeftButton;
    if (left && (state == Failed || state == Passed))
        return;
    const QPoint pos = positionOf(event);
    // The second press of a double click arrives here too, as a
    // MouseButtonDblClick: it begins no drag.
    if (left && event->type() == QEvent::MouseButtonPress) {
        if (state == Ready)
            startLevel();
        dragging = true;
        pressPos = pos;
        // Until the first move, the well would stand at the press point,
        // not where an earlier drag left the preview.
        wellPos = pos;
    }
    mousePos = pos;
}

void LevelWidget::mouseMoveEvent(QMouseEvent *event)
{
    mousePos = positionOf(event);
    if (dragging)
        wellPos = midpointHalfUp(mousePos, pressPos);
}

void LevelWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = positionOf(event);
    if (event->type() == QEvent::MouseButtonRelease) {
        if (state == Passed && event->button() == Qt::LeftButton) {
            dragging = false;
            loadLevel(level % levelCount + 1);
            return;
        }
        if (event->button() == Qt::RightButton) {
            // A left drag under way goes on into the reloaded level.
            restartLevel();
            return;
        }
        // A release that ends no drag leaves the wells alone.
        if (dragging)
            endDrag(pos);
    }
    mousePos = pos;
}

void LevelWidget::endDrag(const QPoint &release)
{
    dragging = false;
    releasePos = release;
    // As a move to the release point would; the same point after the usual
    // press, move, release.
    wellPos = midpointHalfUp(release, pressPos);
    const QPoint d = pressPos - releasePos;
    if (d.manhattanLength() >= dragThreshold) {
        const int kind = qAbs(d.x()) >= qAbs(d.y()) ? LevelObject::BlueWell : LevelObject::RedWell;
        wells.append(LevelObject(wellPos.x(), wellPos.y(), kind));
        // A drag that went on across a restart sets the first well of the
        // reloaded level: the level starts now, or it would run unclocked.
        if (state == Ready)
            startLevel();
        return;
    }
    // A click removes the earliest well in reach, if any.
    for (qsizetype i = 0; i < wells.size(); ++i) {
        if ((releasePos - toPointHalfUp(wells.at(i))).manhattanLength() <= hitTolerance) {
            wells.removeAt(i);
            return;
        }
    }
}

void LevelWidget::restartLevel()
{
    loadLevel(level);
}
