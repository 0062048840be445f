#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>

#include <optional>

namespace images {

// The blue panel of fine horizontal stripes inside a bevelled raised frame.
// The frame follows the part of the picture the window shows (`visible`);
// rows or columns beyond it are cut off by the window and stay dark. `glow`
// lightens the stripes softly around a point, behind a heading.
QImage stripedPanel(QSize picture, QSize visible, std::optional<QPointF> glow = std::nullopt);

} // namespace images
