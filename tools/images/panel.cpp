#include "images/panel.h"

#include "images/drawing.h"

#include <algorithm>
#include <cmath>

namespace images {

namespace {

const QColor panelTop(0x2E, 0x56, 0xB0);
const QColor panelBottom(0x18, 0x30, 0x74);
const QColor frameOuter(0x04, 0x0A, 0x1E);
const QColor frameLightOuter(0xB4, 0xCC, 0xF6);
const QColor frameLightInner(0x58, 0x7C, 0xCC);
const QColor frameDarkOuter(0x0C, 0x1A, 0x46);
const QColor frameDarkInner(0x22, 0x3E, 0x8A);
const QColor frameInnerRim(0x0A, 0x16, 0x38);
constexpr int bevelWidth = 5;
// Every other pixel row is this much darker: the fine stripes.
constexpr qreal stripeShade = 0.78;

} // namespace

QImage stripedPanel(QSize picture, QSize visible, std::optional<QPointF> glow, int scale)
{
    QImage image(picture * scale, QImage::Format_RGB32);
    const int vw = std::min(picture.width(), visible.width());
    const int vh = std::min(picture.height(), visible.height());
    for (int deviceY = 0; deviceY < image.height(); ++deviceY) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(deviceY));
        // The window pixel a device pixel belongs to, for the frame and the
        // stripes, and where its centre lies, for the smooth shading.
        const int y = deviceY / scale;
        const qreal centreY = (deviceY + 0.5) / scale - 0.5;
        for (int deviceX = 0; deviceX < image.width(); ++deviceX) {
            const int x = deviceX / scale;
            const qreal centreX = (deviceX + 0.5) / scale - 0.5;
            if (x >= vw || y >= vh) {
                line[deviceX] = frameOuter.rgb();
                continue;
            }
            const int toLeft = x;
            const int toTop = y;
            const int toRight = vw - 1 - x;
            const int toBottom = vh - 1 - y;
            const int edge = std::min({toLeft, toTop, toRight, toBottom});
            if (edge == 0) {
                line[deviceX] = frameOuter.rgb();
            } else if (edge <= bevelWidth) {
                // Light falls from the top left; corners split on the diagonal.
                const bool lit = std::min(toLeft, toTop) <= std::min(toRight, toBottom);
                const qreal depth = qreal(edge - 1) / (bevelWidth - 1);
                line[deviceX] = lit ? mix(frameLightOuter, frameLightInner, depth).rgb()
                                    : mix(frameDarkOuter, frameDarkInner, depth).rgb();
            } else if (edge == bevelWidth + 1) {
                line[deviceX] = frameInnerRim.rgb();
            } else {
                const qreal along = centreY / (vh - 1);
                qreal light = 1.0;
                if (glow) {
                    const qreal reach = 0.55 * vw;
                    const qreal distance
                        = std::hypot(centreX - glow->x(), (centreY - glow->y()) * 1.6);
                    const qreal near = std::max(0.0, 1.0 - distance / reach);
                    light += 0.32 * near * near;
                }
                if (y % 2 == 1)
                    light *= stripeShade;
                line[deviceX] = scaled(mix(panelTop, panelBottom, along), light);
            }
        }
    }
    image.setDevicePixelRatio(scale);
    return image;
}
} // namespace images
