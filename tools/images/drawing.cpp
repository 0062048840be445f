#include "images/drawing.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace images {

namespace {

// Three passes of a box blur approach a Gaussian; integer sums keep it exact.
std::vector<int> blurred(std::vector<int> values, int width, int height, int radius)
{
    std::vector<int> scratch(values.size());
    const int span = 2 * radius + 1;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += values[size_t(y * width + std::clamp(x + k, 0, width - 1))];
                scratch[size_t(y * width + x)] = sum / span;
            }
        }
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                int sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += scratch[size_t(std::clamp(y + k, 0, height - 1) * width + x)];
                values[size_t(y * width + x)] = sum / span;
            }
        }
    }
    return values;
}

} // namespace

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QRgb scaled(const QColor &colour, qreal factor)
{
    auto channel
        = [factor](int value) { return std::clamp(int(std::lround(value * factor)), 0, 255); };
    return qRgb(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

void drawSoftShadow(QImage &target, const QPainterPath &shape, const QColor &colour, QPointF offset,
                    qreal spread, int radius)
{
    // Drawn at the target's resolution: the blur's reach is in its pixels.
    const qreal ratio = target.devicePixelRatio();
    radius = int(std::lround(radius * ratio));
    QImage mask(target.size(), QImage::Format_ARGB32_Premultiplied);
    mask.setDevicePixelRatio(ratio);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPainterPath moved = shape.translated(offset);
        painter.fillPath(moved, Qt::black);
        if (spread > 0)
            painter.strokePath(
                moved, QPen(Qt::black, 2 * spread, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    const int w = mask.width();
    const int h = mask.height();
    std::vector<int> alpha(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        for (int x = 0; x < w; ++x)
            alpha[size_t(y * w + x)] = qAlpha(line[x]);
    }
    alpha = blurred(std::move(alpha), w, h, radius);

    QImage shadow(target.size(), QImage::Format_ARGB32_Premultiplied);
    shadow.setDevicePixelRatio(ratio);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(shadow.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = alpha[size_t(y * w + x)] * colour.alpha() / 255;
            line[x] = qPremultiply(qRgba(colour.red(), colour.green(), colour.blue(), a));
        }
    }
    QPainter painter(&target);
    painter.drawImage(0, 0, shadow);
}

void drawRule(QImage &target, qreal x1, qreal x2, qreal y)
{
    QPainter painter(&target);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fade(x1, y, x2, y);
    fade.setColorAt(0, QColor(0xF0, 0xC0, 0x50, 0));
    fade.setColorAt(0.5, QColor(0xF8, 0xD8, 0x80, 230));
    fade.setColorAt(1, QColor(0xF0, 0xC0, 0x50, 0));
    painter.fillRect(QRectF(x1, y + 1, x2 - x1, 1), QColor(0x05, 0x0C, 0x24, 120));
    painter.fillRect(QRectF(x1, y, x2 - x1, 1), fade);
}

} // namespace images
