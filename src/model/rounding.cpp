// SPDX-License-Identifier: GPL-3.0-or-later
#include "rounding.h"

#include <cmath>
#include <limits>

int roundHalfUp(double value)
{
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    const double rounded = std::floor(value + 0.5);
    if (std::isnan(rounded))
        return 0;
    if (rounded <= lowest)
        return std::numeric_limits<int>::min();
    if (rounded >= highest)
        return std::numeric_limits<int>::max();
    return static_cast<int>(rounded);
}

QPoint toPointHalfUp(const QPointF &point)
{
    return QPoint(roundHalfUp(point.x()), roundHalfUp(point.y()));
}

QPoint midpointHalfUp(const QPoint &a, const QPoint &b)
{
    // Sum in double: the int sum of two far-off points could overflow.
    return QPoint(roundHalfUp((double(a.x()) + b.x()) / 2.0),
                  roundHalfUp((double(a.y()) + b.y()) / 2.0));
}
