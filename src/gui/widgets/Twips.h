#pragma once

#include <QRect>

// Positions given in twips, at 15 twips a pixel (96 dpi).
namespace Twips {
constexpr int kPerPixel = 15;
constexpr int px(int twips) {
    return (twips + kPerPixel / 2) / kPerPixel;
}
constexpr QRect rect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}
// A label given only its width: one line high.
constexpr int kLabelHeight = 255;
} // namespace Twips
