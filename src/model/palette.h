// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef PALETTE_H
#define PALETTE_H

#include <QColor>
#include <QPen>

// The colours that mark the kinds of wells, particles and areas, and the
// field they lie on.
namespace Palette {

constexpr QRgb red = qRgb(255, 64, 64);
constexpr QRgb blue = qRgb(128, 128, 255);
constexpr QRgb grey = qRgb(128, 128, 128);
constexpr QRgb field = qRgb(0, 32, 64);

// A solid, square-capped, bevel-joined pen of the given colour and width.
// Width 0 is the one-pixel cosmetic pen.
QPen solidPen(const QColor &color, qreal width);

} // namespace Palette

#endif
