#include "images/cursors.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QTransform>

namespace images {

QImage arrowCursor(int scale)
{
    QImage image(32 * scale, 32 * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    // The classic arrow, tip at the hot spot; drawn without smoothing so its
    // edges are crisp pixel steps.
    const QPolygon arrow = QPolygon({QPoint(0, 0), QPoint(0, 17), QPoint(4, 13), QPoint(7, 20),
                                     QPoint(10, 19), QPoint(7, 12), QPoint(12, 12)})
                               .translated(arrowHotSpot);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x40, 0x40, 0x40, 110));
    painter.drawPolygon(arrow.translated(2, 2));
    QLinearGradient red(arrowHotSpot, arrowHotSpot + QPoint(6, 20));
    red.setColorAt(0, QColor(0xFF, 0x5A, 0x46));
    red.setColorAt(1, QColor(0xC0, 0x0C, 0x0C));
    painter.setBrush(red);
    painter.setPen(QPen(QColor(0x50, 0x00, 0x00), 1));
    painter.drawPolygon(arrow);
    return image;
}

QImage birdCursor(int scale)
{
    QImage image(32 * scale, 32 * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x2A, 0x2E, 0x36), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    // Far wing, raised behind the body.
    QPainterPath farWing;
    farWing.moveTo(16.5, 14.5);
    farWing.cubicTo(16.5, 9, 17.5, 5, 20.5, 2.5);
    farWing.cubicTo(21, 7.5, 20, 11, 18.5, 15);
    farWing.closeSubpath();
    painter.setBrush(QColor(0xD0, 0xD6, 0xDE));
    painter.drawPath(farWing);

    QPainterPath tail;
    tail.moveTo(22, 21);
    tail.lineTo(29, 26.5);
    tail.lineTo(26.5, 26.8);
    tail.lineTo(27.5, 30);
    tail.lineTo(20.5, 24);
    tail.closeSubpath();
    painter.setBrush(QColor(0xE8, 0xEC, 0xF0));
    painter.drawPath(tail);

    QTransform slant;
    slant.translate(18.5, 18);
    slant.rotate(42);
    QPainterPath body = slant.map([] {
        QPainterPath ellipse;
        ellipse.addEllipse(QPointF(0, 0), 7, 3.8);
        return ellipse;
    }());
    body.addEllipse(QPointF(13.6, 12.4), 3.5, 3.5);
    QLinearGradient white(QPointF(12, 10), QPointF(23, 24));
    white.setColorAt(0, Qt::white);
    white.setColorAt(1, QColor(0xDA, 0xDE, 0xE6));
    painter.setBrush(white);
    painter.drawPath(body.simplified());

    // Near wing, swept up and back.
    QPainterPath wing;
    wing.moveTo(17.5, 16);
    wing.cubicTo(19, 10, 22.5, 5, 28.5, 2.5);
    wing.cubicTo(27, 8, 24, 13.5, 20, 18);
    wing.closeSubpath();
    QLinearGradient feather(QPointF(18, 18), QPointF(28, 3));
    feather.setColorAt(0, Qt::white);
    feather.setColorAt(1, QColor(0xE2, 0xE6, 0xEC));
    painter.setBrush(feather);
    painter.drawPath(wing);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(13.2, 11.6), 1.0, 1.0);

    // The long beak reaches the hot spot: black on a white halo, so that its
    // tip shows on light and dark ground alike.
    const QPointF tip = QPointF(birdHotSpot) + QPointF(0.5, 0.5);
    const QPointF root(10.8, 11.1);
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(tip, root);
    painter.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(tip, root);
    return image;
}
} // namespace images
