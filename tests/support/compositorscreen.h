#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

#include <optional>

// What a compositor started by tools/westontest.sh shows, read back through
// its screenshot tool, and pictures found in it.
namespace dialvault {

// The whole screen as the compositor at `runtimeFolder` (its
// XDG_RUNTIME_DIR) last drew it; a null image when it could not be taken.
QImage compositorScreenshot(const QString &runtimeFolder);

// The top-left corner of the first place where `part` stands in `screen`
// pixel for pixel, searched row by row.
std::optional<QPoint> findIn(const QImage &screen, const QImage &part);

} // namespace dialvault
