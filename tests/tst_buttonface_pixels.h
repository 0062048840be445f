#pragma once

// Helpers shared by the button face tests: a face in the fixed grey scheme
// (so expectations do not depend on the platform palette) and readable pixels.

#include "button/buttonface.h"

#include <QRect>
#include <QString>

namespace dialvault::testing {

inline void prepare(ButtonFace &face, ButtonStyle type, int w, int h,
                    ColourScheme scheme = ColourScheme::FixedGrey)
{
    face.colourScheme = scheme;
    face.buildPalette();
    face.buttonType = type;
    face.setSize(w, h);
}

// Draws Up, Down, or Disabled (as a disabled button is drawn, asked for Up).
inline void drawLook(ButtonFace &face, Look look)
{
    face.enabled = look != Look::Disabled;
    face.redraw(look == Look::Down ? Look::Down : Look::Up, true);
}

inline QString hex(QRgb rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

inline QString pixel(const QImage &image, int x, int y)
{
    return hex(image.pixel(x, y));
}

inline QString pixel(const ButtonFace &face, int x, int y)
{
    return pixel(face.image(), x, y);
}

// Bounding box of the pixels of one colour.
inline QRect inkBox(const QImage &image, QRgb ink)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) == (ink & 0xFFFFFFu))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace dialvault::testing
