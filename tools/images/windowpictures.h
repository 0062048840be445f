#pragma once

// The background picture of each window, at the picture's own size. Each
// keeps its lettering clear of the controls that stand on it.

#include <QImage>

namespace images {

QImage mainPanel(); // 413 x 240
QImage helpPanel(); // 314 x 382
QImage aboutPanel(); // 384 x 377
QImage pictureCard(); // 272 x 165
QImage listPanel(); // 493 x 325
QImage passwordPanel(); // 226 x 110

} // namespace images
