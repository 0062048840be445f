#include "button/colour.h"

#include <algorithm>

namespace dialvault {

namespace {

// 64-bit so that no delta, however large, can overflow before the clamp.
qint64 clampChannel(qint64 v)
{
    return std::clamp<qint64>(v, 0, 255);
}

} // namespace

Colour shiftColour(Colour c, qint32 d, bool proportional)
{
    const qint64 r = c & 0xFFu;
    const qint64 g = (c >> 8) & 0xFFu;
    const qint64 b = (c >> 16) & 0xFFu;
    // Integer division truncates toward zero, which the proportional share relies on.
    const qint64 db = proportional ? b * d / 192 : d;
    return Colour(clampChannel(r + d) | clampChannel(g + d) << 8 | clampChannel(b + db) << 16);
}

} // namespace dialvault
