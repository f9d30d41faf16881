// SPDX-License-Identifier: GPL-3.0-or-later
#include "palette.h"

#include <QBrush>

QPen Palette::solidPen(const QColor &color, qreal width)
{
    return QPen(QBrush(color, Qt::SolidPattern), width, Qt::SolidLine, Qt::SquareCap,
                Qt::BevelJoin);
}
