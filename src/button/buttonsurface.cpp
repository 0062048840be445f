#include "button/buttonsurface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace dialvault {

void ButtonSurface::setScale(qreal scale)
{
    m_scale = scale > 0 ? scale : 1;
}

void ButtonSurface::resize(int w, int h, Colour colour)
{
    m_image = QImage(int(std::ceil(std::max(w, 0) * m_scale)),
                     int(std::ceil(std::max(h, 0) * m_scale)), QImage::Format_RGB32);
    m_image.setDevicePixelRatio(m_scale);
    m_image.fill(toQRgb(colour));
}

int ButtonSurface::toDevice(qint64 v, int size) const
{
    // Rounded the same way on both edges, neighbouring pixels share theirs.
    return int(std::clamp<double>(std::round(double(v) * m_scale), 0, size));
}

void ButtonSurface::fill(qint64 left, qint64 top, qint64 right, qint64 bottom, QRgb rgb)
{
    const int l = toDevice(left, m_image.width());
    const int t = toDevice(top, m_image.height());
    const int r = toDevice(right, m_image.width());
    const int b = toDevice(bottom, m_image.height());
    for (int y = t; y < b; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        std::fill(row + l, row + std::max(l, r), rgb);
    }
}

void ButtonSurface::invert(int x, int y)
{
    const int r = toDevice(qint64(x) + 1, m_image.width());
    const int b = toDevice(qint64(y) + 1, m_image.height());
    for (int dy = toDevice(y, m_image.height()); dy < b; ++dy) {
        QRgb *row = reinterpret_cast<QRgb *>(m_image.scanLine(dy));
        for (int dx = toDevice(x, m_image.width()); dx < r; ++dx)
            row[dx] ^= 0x00FFFFFFu;
    }
}

void ButtonSurface::drawBox(int x, int y, int w, int h, Colour colour, bool frameOnly)
{
    // 64-bit edges: x + w must not wrap for extreme arguments.
    const qint64 right = qint64(x) + w;
    const qint64 bottom = qint64(y) + h;
    if (right <= x || bottom <= y)
        return;
    const QRgb rgb = toQRgb(colour);
    if (!frameOnly) {
        fill(x, y, right, bottom, rgb);
        return;
    }
    fill(x, y, right, qint64(y) + 1, rgb);
    fill(x, bottom - 1, right, bottom, rgb);
    fill(x, y, qint64(x) + 1, bottom, rgb);
    fill(right - 1, y, right, bottom, rgb);
}

void ButtonSurface::drawLine(int x1, int y1, int x2, int y2, Colour colour)
{
    const QRgb rgb = toQRgb(colour);
    if (y1 == y2) {
        // The common case: a row, start drawn, end not.
        if (x1 <= x2)
            fill(x1, y1, x2, qint64(y1) + 1, rgb);
        else
            fill(qint64(x2) + 1, y1, qint64(x1) + 1, qint64(y1) + 1, rgb);
        return;
    }
    if (x1 == x2) {
        if (y1 <= y2)
            fill(x1, y1, qint64(x1) + 1, y2, rgb);
        else
            fill(x1, qint64(y2) + 1, qint64(x1) + 1, qint64(y1) + 1, rgb);
        return;
    }
    // Any other slope: Bresenham from the start, one pixel per step along the
    // major axis, stopping before the end point.
    const qint64 dx = std::abs(qint64(x2) - x1);
    const qint64 dy = std::abs(qint64(y2) - y1);
    const int sx = x2 > x1 ? 1 : -1;
    const int sy = y2 > y1 ? 1 : -1;
    const qint64 steps = std::max(dx, dy);
    qint64 error = (dx > dy ? dx : -dy) / 2;
    qint64 x = x1;
    qint64 y = y1;
    for (qint64 i = 0; i < steps; ++i) {
        fill(x, y, x + 1, y + 1, rgb);
        const qint64 e = error;
        if (e > -dx) {
            error -= dy;
            x += sx;
        }
        if (e < dy) {
            error += dx;
            y += sy;
        }
    }
}

void ButtonSurface::drawPixel(int x, int y, Colour colour)
{
    fill(x, y, qint64(x) + 1, qint64(y) + 1, toQRgb(colour));
}

void ButtonSurface::drawFocus(const Rect &r, Colour textColour)
{
    setTextColour(textColour);
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    // Dotted and inverting: every other pixel, counted from the top-left one,
    // is inverted, and no pixel twice, so a second call restores the image.
    const auto dot = [this, &r](int x, int y) {
        if ((x - r.left + y - r.top) % 2 == 0)
            invert(x, y);
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top)
            dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left)
            dot(r.right - 1, y);
    }
}

} // namespace dialvault
