#pragma once

#include "layout/layoutdata.h"

#include <QColor>
#include <QCursor>
#include <QIcon>

// What a layout names, as the window system's objects.
namespace dialvault {

// The mouse pointer a layout names: the red arrow (hot spot 10, 5), the bird
// (hot spot 5, 7), the crosshair, or the window system's own.
QCursor pointerCursor(PointerShape shape);

// The colour a layout names, system colours as the user's scheme has them now.
QColor layoutColour(LayoutColour colour);

// The book icon, in its three sizes.
QIcon bookIcon();

} // namespace dialvault
