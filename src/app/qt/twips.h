#pragma once

#include <QRect>

namespace zorvane::qt {

// Window geometry is laid out in twips; the screen shows 15 twips per pixel (96 dots per inch).
inline constexpr int kTwipsPerPixel = 15;

inline constexpr int Pixels(int twips) {
  return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

}  // namespace zorvane::qt
