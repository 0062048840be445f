#pragma once

// The two 32 x 32 cursors, with alpha.

#include <QImage>
#include <QPoint>

namespace images {

constexpr QPoint arrowHotSpot(10, 5);
constexpr QPoint birdHotSpot(5, 7);

// A red arrow pointing up-left with a grey shadow; its tip is the hot spot.
QImage arrowCursor();
// A white hummingbird; the tip of its beak is the hot spot.
QImage birdCursor();

} // namespace images
