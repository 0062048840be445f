#pragma once

#include <QtGlobal>

namespace dialvault {

// The seven drawing styles, as stored under "BTYPE". A stored value may be
// any 32-bit integer: one outside 1 to 7 is kept as it is and draws only the
// face.
enum class ButtonStyle : qint32 {
    DoubleBevel = 1,
    Classic3D = 2,
    Gradient = 3,
    Rounded = 4,
    BoldFlat = 5,
    SoftShadow = 6,
    Thin3D = 7,
};

// Where the palette comes from, as stored under "COLTYPE". Any value other
// than CustomColors and FixedGrey is kept as it is and gives the system
// palette.
enum class ColourScheme : qint32 {
    SystemColors = 1,
    CustomColors = 2,
    FixedGrey = 3,
};

// How a button is drawn. ButtonFace::redraw is asked for Up (released) or Down (pressed)
// and remembers which; a disabled button is drawn Disabled whatever it was
// asked for.
enum class Look : quint8 {
    Up = 0,
    Down = 2,
    Disabled = 3,
};

} // namespace dialvault
