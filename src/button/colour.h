#pragma once

#include <QRgb>
#include <QtGlobal>

namespace dialvault {

// A colour as the button stores and draws it: red + 256 * green + 65536 * blue
// (0x00BBGGRR). Qt's QRgb is 0xAARRGGBB; these two functions are the only place
// where one becomes the other.
using Colour = quint32;

constexpr QRgb toQRgb(Colour c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

constexpr Colour fromQRgb(QRgb c)
{
    return ((c >> 16) & 0xFFu) | (c & 0xFF00u) | ((c & 0xFFu) << 16);
}

// Moves red and green by d; blue by d too, or, when proportional, by its own
// share (b * d / 192). Channels saturate at 0 and 255.
Colour shiftColour(Colour c, qint32 d, bool proportional);

// The user's current system colour with the given Windows colour index, taken
// from the running Qt palette (see systemcolours.cpp for the role of each).
Colour systemColour(int index);

} // namespace dialvault
