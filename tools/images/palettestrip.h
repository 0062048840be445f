#pragma once

#include <QImage>

namespace images {

// The about window's 750 x 80 palette image, 8-bit indexed.
QImage paletteStrip();

} // namespace images
