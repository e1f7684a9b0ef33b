#pragma once
// Dialog layouts are given in dialog units. One fixed scale converts them to pixels: the classic
// 8-point dialog font's 1.5 px per horizontal and 1.625 px per vertical unit, which is what makes
// the operation panel the 222 px the view reserves for it. Edges are rounded, not sizes, so
// neighbouring controls keep meeting where their dialog-unit edges meet.
#include <QRect>
#include <cmath>

namespace somatrix {

inline constexpr double kDluX = 1.5;
inline constexpr double kDluY = 1.625;

inline int DluToPxX(int dlu) {
    return static_cast<int>(std::lround(dlu * kDluX));
}
inline int DluToPxY(int dlu) {
    return static_cast<int>(std::lround(dlu * kDluY));
}

// Left, top, width, height in dialog units to a pixel rectangle.
inline QRect DluRect(int x, int y, int w, int h) {
    const int left = DluToPxX(x);
    const int top = DluToPxY(y);
    return QRect(left, top, DluToPxX(x + w) - left, DluToPxY(y + h) - top);
}

}  // namespace somatrix
