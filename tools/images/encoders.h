#pragma once

// The file formats the pictures are kept in. ICO and GIF are written here
// because Qt writes an ICO of one image only and no GIF at all.

#include <QByteArray>
#include <QImage>
#include <QList>

namespace images {

// Progressive, three colour components, fixed quality.
QByteArray jpegBytes(const QImage &image);
QByteArray pngBytes(const QImage &image);
// Every image as a 32-bit bitmap with its AND mask.
QByteArray icoBytes(const QList<QImage> &images);
// GIF87a of an 8-bit indexed image, its colour table at most 256 entries.
QByteArray gifBytes(const QImage &indexed);

} // namespace images
