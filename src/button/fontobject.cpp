#include "button/fontobject.h"

#include "fonts/interfacefont.h"

#include <algorithm>
#include <cmath>

namespace dialvault {

QFont FontObject::toQFont() const
{
    useInterfaceFont();
    QFont font(familyFor(name));
    font.setPixelSize(std::max(1, int(std::lround(size * 96.0 / 72.0))));
    // Weight 0 is the window system's "don't care", which draws as normal.
    const int own = weight > 0 ? std::min(weight, 1000) : 400;
    font.setWeight(QFont::Weight(bold ? std::max(own, 700) : own));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikethrough);
    // Hinting and smoothing are set here rather than left to the desktop's
    // font configuration, so that the pixels are the same everywhere.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace dialvault
