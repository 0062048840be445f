#pragma once

// Small drawing helpers shared by the pictures. Every step is plain integer
// or floating-point arithmetic, so the pixels come out the same on every run.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>

namespace images {

// The colour between `a` (t = 0) and `b` (t = 1).
QColor mix(const QColor &a, const QColor &b, qreal t);
// The colour made lighter or darker by `factor`, each channel clamped.
QRgb scaled(const QColor &colour, qreal factor);
// A blurred shadow of `shape`, moved by `offset` and grown by `spread`; the
// blur's `radius` is in the target's pixels at a device pixel ratio of 1.
void drawSoftShadow(QImage &target, const QPainterPath &shape, const QColor &colour, QPointF offset,
                    qreal spread, int radius);
// A thin gold rule from x1 to x2 that fades out at both ends.
void drawRule(QImage &target, qreal x1, qreal x2, qreal y);

} // namespace images
