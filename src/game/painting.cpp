// SPDX-License-Identifier: GPL-3.0-or-later
// Scene painting: the whole scene is drawn from the members at every paint.

#include "levelwidget.h"

#include <QLine>
#include <QPaintEvent>
#include <QPainter>

namespace {

// Height of the band at the top, above the bottom 200 pixels, in which the
// status line is centred.
constexpr int statusBandMargin = 200;
// Height of the band at the top in which the tip block is centred.
constexpr int tipBandHeight = 150;

QString statusText(int state)
{
    switch (state) {
    case LevelWidget::Ready:
        return QStringLiteral("Ready to start");
    case LevelWidget::Failed:
        return QStringLiteral("Level failed");
    case LevelWidget::Passed:
        return QStringLiteral("Level passed");
    default:
        return QString();
    }
}

QString tipText(int state)
{
    switch (state) {
    case LevelWidget::Ready:
        return QStringLiteral(
            "TIP\n"
            "[Left mouse drag] horizontally or vertically to set a gravity well.\n"
            "[Left mouse click] on a set gravity well to remove it.\n"
            "[Right mouse click] to restart the level.");
    case LevelWidget::Failed:
        return QStringLiteral("TIP\n"
                              "[Right mouse click] to restart the level.");
    case LevelWidget::Passed:
        return QStringLiteral("TIP\n"
                              "[Left mouse click] to advance to the next level.\n"
                              "[Right mouse click] to restart the level.");
    default:
        return QString();
    }
}

} // namespace

QString LevelWidget::description() const
{
    return QStringLiteral("Level %1. %2. Time %3 ms.")
        .arg(level)
        .arg(state == Running ? QStringLiteral("Running") : statusText(state))
        .arg(elapsed);
}

void LevelWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter;
    painter.begin(this);
    paintScene(&painter, event);
    painter.end();
}

void LevelWidget::paintScene(QPainter *painter, QPaintEvent *event) const
{
    painter->fillRect(event->rect(), backgroundBrush);

    // The preview lies under the level: areas and objects cover it.
    if (dragging) {
        const QLine line(pressPos, mousePos);
        painter->setPen(dragLinePen);
        painter->drawLines(&line, 1);
        // Qt 6 strokes a wide point one pixel wider at some positions, so
        // fill the mark's square with its pen's brush: always 5 x 5 pixels
        // centred on wellPos.
        const int reach = wellMarkPen.width() / 2;
        painter->fillRect(QRect(wellPos - QPoint(reach, reach), wellPos + QPoint(reach, reach)),
                          wellMarkPen.brush());
    }

    for (const Area &area : areas)
        area.draw(painter);
    for (const LevelObject &well : wells)
        well.draw(painter);
    for (const LevelObject &particle : particles)
        particle.draw(painter);

    // The status line keeps the pen of the last thing drawn: the white mark
    // of the last particle.
    painter->setFont(largeFont);
    painter->drawText(QRect(0, 0, width(), height() - statusBandMargin), Qt::AlignCenter,
                      statusText(state));

    painter->setPen(textPen);
    painter->setFont(smallFont);
    painter->drawText(QRect(0, 0, width(), tipBandHeight), Qt::AlignCenter, tipText(state));

    painter->setFont(largeFont);
    painter->drawText(rect(), Qt::AlignRight | Qt::AlignBottom,
                      QString::number(elapsed, 10) + QStringLiteral(" ms"));
}
