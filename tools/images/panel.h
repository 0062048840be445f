#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>

#include <optional>

namespace images {

// The blue panel of fine horizontal stripes inside a bevelled raised frame.
// The frame follows the part of the picture the window shows (`visible`);
// rows or columns beyond it are cut off by the window and stay dark. `glow`
// lightens the stripes softly around a point, behind a heading. Sizes and
// places are in pixels of the window; the image has `scale` device pixels
// for each (its device pixel ratio), the stripes and the frame keeping
// their width in window pixels.
QImage stripedPanel(QSize picture, QSize visible, std::optional<QPointF> glow = std::nullopt,
                    int scale = 1);

} // namespace images
