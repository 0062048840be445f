#pragma once

// Lettering on the pictures, in the program's interface font, shaped and laid
// out by Qt (Persian joins and reads right to left) and drawn as outlines, so
// that no font hinting or smoothing setting changes the pixels.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>

namespace images {

// The outline of a text with its baseline at y = 0 and its ink from x = 0.
QPainterPath textPath(const QString &text, int pixelSize, bool bold);

enum class Anchor { Left, Centre, Right };

// The outline moved so that its ink starts at, is centred on or ends at x.
QPainterPath placed(const QPainterPath &path, qreal x, qreal baseline, Anchor anchor);

struct LetteringStyle
{
    QColor top;
    QColor bottom;
    QColor outline;
    qreal outlineWidth;
    QColor shadow;
};

// Raised from the panel: a soft shadow, a dark rim, a face graded downwards.
void drawLettering(QImage &target, const QPainterPath &path, const LetteringStyle &style);

extern const LetteringStyle goldLettering;
extern const LetteringStyle paleLettering;

} // namespace images
