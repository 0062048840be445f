#pragma once

#include "layout/layoutdata.h"

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QPixmap>

// What a layout names, as the window system's objects.
namespace dialvault {

// The mouse pointer a layout names: the red arrow (hot spot 10, 5), the bird
// (hot spot 5, 7), the crosshair, or the window system's own; drawn for a
// screen of `scale` device pixels to a pixel.
QCursor pointerCursor(PointerShape shape, qreal scale);

// The picture at resource `path` for a screen of `scale` device pixels to a
// pixel: above 1, the same picture drawn at twice the size (name@2x.jpg)
// where there is one, which stays sharp where the picture enlarged would not.
QPixmap layoutPicture(const QString &path, qreal scale);

// The colour a layout names, system colours as the user's scheme has them now.
QColor layoutColour(LayoutColour colour);

// The book icon, in its three sizes.
QIcon bookIcon();

} // namespace dialvault
