#pragma once

// The program's icon: an open book with a pen, one vector drawing that
// becomes pixels at any size and SVG text.

#include <QByteArray>
#include <QImage>

namespace images {

QImage bookIcon(int size);
QByteArray bookSvg();

} // namespace images
