#pragma once

// The background picture of each window, at the picture's own size times
// `scale` (its device pixel ratio), for screens of that many device pixels
// to a pixel. Each keeps its lettering clear of the controls that stand on
// it.

#include <QImage>

namespace images {

QImage mainPanel(int scale = 1); // 413 x 240
QImage helpPanel(int scale = 1); // 314 x 382
QImage aboutPanel(int scale = 1); // 384 x 377
QImage pictureCard(int scale = 1); // 272 x 165
QImage listPanel(int scale = 1); // 493 x 325
QImage passwordPanel(int scale = 1); // 226 x 110

} // namespace images
