#pragma once

#include "button/colour.h"

#include <cmath>

// Shorthands the style drawings share.
namespace dialvault::styleshifts {

// The plain shift: every channel moves by d.
inline Colour S(Colour c, qint32 d)
{
    return ShiftColor(c, d, false);
}

// The proportional shift: blue moves by its own share.
inline Colour P(Colour c, qint32 d)
{
    return ShiftColor(c, d, true);
}

// Rounds half to even, as the step arithmetic is single precision.
inline qint32 nearest(float x)
{
    return qint32(std::nearbyint(x));
}

} // namespace dialvault::styleshifts
