// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef ROUNDING_H
#define ROUNDING_H

#include <QPoint>
#include <QPointF>

// The game rounds every half towards positive infinity, for negative values
// too: 2.5 gives 3, -17.5 gives -17, -0.5 gives 0. Qt's own qRound() and
// QPointF::toPoint() round halves away from zero, which would move wells and
// capture points left of or above the origin by one pixel.
//
// Values beyond the range of int saturate at its limits.
int roundHalfUp(double value);

// Both coordinates of point rounded with roundHalfUp().
QPoint toPointHalfUp(const QPointF &point);

// The midpoint of a and b with both coordinates rounded with roundHalfUp():
// where a drag from a to b sets its well.
QPoint midpointHalfUp(const QPoint &a, const QPoint &b);

#endif
