#ifndef COLORS_H
#define COLORS_H

#include <QRgb>

// The colours the game must paint, as a player sees them.
namespace Colors {

constexpr QRgb field = qRgb(0, 32, 64);
constexpr QRgb red = qRgb(255, 64, 64);
constexpr QRgb blue = qRgb(128, 128, 255);
constexpr QRgb grey = qRgb(128, 128, 128);
constexpr QRgb white = qRgb(255, 255, 255);
constexpr QRgb yellow = qRgb(255, 255, 0);
constexpr QRgb green = qRgb(0, 255, 0);
constexpr QRgb cyan = qRgb(0, 255, 255);

} // namespace Colors

#endif
