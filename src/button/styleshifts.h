#pragma once

#include "button/colour.h"

#include <cmath>

// Shorthands the style drawings share.
namespace dialvault::styleshifts {

// Every channel moves by d.
inline Colour plainShift(Colour c, qint32 d)
{
    return shiftColour(c, d, false);
}

// Red and green move by d, blue by its own share of d.
inline Colour proportionalShift(Colour c, qint32 d)
{
    return shiftColour(c, d, true);
}

// Rounds half to even, as the step arithmetic is single precision.
inline qint32 nearest(float x)
{
    return qint32(std::nearbyint(x));
}

} // namespace dialvault::styleshifts
