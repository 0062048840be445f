#pragma once

// The two 32 x 32 cursors, with alpha, at `scale` device pixels to a pixel
// (the image's device pixel ratio); the hot spots are in pixels.

#include <QImage>
#include <QPoint>

namespace images {

constexpr QPoint arrowHotSpot(10, 5);
constexpr QPoint birdHotSpot(5, 7);

// A red arrow pointing up-left with a grey shadow; its tip is the hot spot.
QImage arrowCursor(int scale = 1);
// A white hummingbird; the tip of its beak is the hot spot.
QImage birdCursor(int scale = 1);

} // namespace images
