#pragma once

#include <QRect>
#include <QtMath>

namespace dialvault {

// Layouts are measured in twips; at the standard 96 dots per inch one pixel
// is 15 twips.
constexpr int twipsPerPixel = 15;

inline int twipsToPixels(int twips)
{
    return qRound(double(twips) / twipsPerPixel);
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

} // namespace dialvault
