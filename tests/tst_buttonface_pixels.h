#pragma once

// Helpers shared by the button face tests: a face in the fixed grey scheme
// (so expectations do not depend on the platform palette) and readable pixels.

#include "button/buttonface.h"

#include <QRect>
#include <QString>

namespace dialvault::testing {

enum LookArg { Released = 0, Pressed = 2, Disabled = -1 };

inline void prepare(ButtonFace &face, int type, int w, int h, int scheme = 3)
{
    face.ColorScheme = scheme;
    face.BuildPalette();
    face.ButtonType = type;
    face.setSize(w, h);
}

inline void drawLook(ButtonFace &face, int look)
{
    face.Enabled = look != Disabled;
    face.Redraw(quint8(look == Pressed ? ButtonFace::Down : ButtonFace::Up), true);
}

inline QString hex(QRgb rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

inline QString pixel(const ButtonFace &face, int x, int y)
{
    return hex(face.surface().pixel(x, y));
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
