#include "images/bookicon.h"

#include <QGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QTextStream>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace images {

namespace {

// One piece of a vector drawing, so that the same drawing becomes pixels and
// SVG text.
struct Shape
{
    QPainterPath path;
    QList<QGradientStop> stops; // empty: not filled
    QPointF from; // gradient axis
    QPointF to;
    QColor stroke; // invalid: no outline
    qreal strokeWidth = 1;
    bool fineDetail = false; // left out of the smallest sizes
};

constexpr qreal iconUnits = 48;

Shape filled(QPainterPath path, QColor a, QColor b, QPointF from, QPointF to, QColor stroke)
{
    Shape shape;
    shape.path = std::move(path);
    shape.stops = {{0, a}, {1, b}};
    shape.from = from;
    shape.to = to;
    shape.stroke = stroke;
    return shape;
}

QList<Shape> bookDrawing()
{
    const QColor ink(0x1E, 0x22, 0x30);
    QList<Shape> shapes;

    QPainterPath cover;
    cover.moveTo(2, 14);
    cover.lineTo(2, 41);
    cover.cubicTo(10, 39.5, 18, 40, 24, 44);
    cover.cubicTo(30, 40, 38, 39.5, 46, 41);
    cover.lineTo(46, 14);
    cover.closeSubpath();
    shapes.append(
        filled(cover, QColor(0x3A, 0x6C, 0xD0), QColor(0x17, 0x33, 0x80), {0, 14}, {0, 44}, ink));

    // The edges of the leaves under the open pages.
    QPainterPath leaves;
    leaves.moveTo(3.5, 12);
    leaves.lineTo(3.5, 38.5);
    leaves.cubicTo(11, 37, 18, 37.5, 24, 41.5);
    leaves.cubicTo(30, 37.5, 37, 37, 44.5, 38.5);
    leaves.lineTo(44.5, 12);
    leaves.closeSubpath();
    shapes.append(
        filled(leaves, QColor(0xE4, 0xDA, 0xC0), QColor(0xC8, 0xBA, 0x98), {0, 12}, {0, 41}, ink));
    shapes.back().fineDetail = true;

    for (const int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(24, 13);
        page.cubicTo(24 + side * 6, 8, 24 + side * 14, 8, 24 + side * 20, 9.5);
        page.lineTo(24 + side * 20, 35.5);
        page.cubicTo(24 + side * 14, 34, 24 + side * 6, 34.5, 24, 39);
        page.closeSubpath();
        const QColor nearSpine = side < 0 ? QColor(0xE6, 0xDF, 0xCC) : QColor(0xEE, 0xE8, 0xD6);
        shapes.append(
            filled(page, QColor(0xFF, 0xFE, 0xF6), nearSpine, {24.0 + side * 20, 0}, {24, 0}, ink));
        for (int row = 0; row < 5; ++row) {
            const qreal y = 15.5 + row * 4;
            QPainterPath text;
            text.moveTo(24 + side * 4, y + 1);
            text.cubicTo(24 + side * 7, y - 0.8, 24 + side * 12, y - 1.2, 24 + side * 17, y - 1);
            Shape line;
            line.path = text;
            line.stroke = QColor(0x8C, 0x9C, 0xC0);
            line.strokeWidth = 1;
            line.fineDetail = true;
            shapes.append(line);
        }
    }

    // The pen lies across the right page, its nib resting near the spine.
    QTransform onPage;
    onPage.translate(27, 33);
    onPage.rotate(-58);
    auto along = [&onPage](QPainterPath local, QColor a, QColor b, QColor stroke) {
        // Shaded across the pen's width so that it looks round.
        return filled(onPage.map(local), a, b, onPage.map(QPointF(0, -2.6)),
                      onPage.map(QPointF(0, 2.6)), stroke);
    };
    QPainterPath nib;
    nib.moveTo(0, 0);
    nib.lineTo(7, -2.2);
    nib.lineTo(7, 2.2);
    nib.closeSubpath();
    shapes.append(along(nib, QColor(0xF4, 0xF6, 0xFA), QColor(0x8C, 0x94, 0xA4), ink));
    QPainterPath body;
    body.addRoundedRect(QRectF(7, -2.6, 25, 5.2), 2.2, 2.2);
    shapes.append(along(body, QColor(0xF0, 0x5A, 0x4A), QColor(0x98, 0x14, 0x14), ink));
    QPainterPath band;
    band.addRect(QRectF(10, -2.6, 2.4, 5.2));
    shapes.append(along(band, QColor(0xFF, 0xE6, 0x8C), QColor(0xC0, 0x86, 0x1C), ink));
    return shapes;
}

QString svgNumber(qreal value)
{
    return QString::number(std::round(value * 1000) / 1000, 'g', 7);
}

QString svgPathData(const QPainterPath &path, bool closed)
{
    QStringList parts;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        const QString point = svgNumber(element.x) + QLatin1Char(' ') + svgNumber(element.y);
        switch (element.type) {
        case QPainterPath::MoveToElement:
            if (closed && i > 0)
                parts.append(QStringLiteral("Z"));
            parts.append(QStringLiteral("M ") + point);
            break;
        case QPainterPath::LineToElement:
            parts.append(QStringLiteral("L ") + point);
            break;
        case QPainterPath::CurveToElement:
            parts.append(QStringLiteral("C ") + point);
            break;
        case QPainterPath::CurveToDataElement:
            parts.append(point);
            break;
        }
    }
    if (closed)
        parts.append(QStringLiteral("Z"));
    return parts.join(QLatin1Char(' '));
}

} // namespace

QImage bookIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal scale = size / iconUnits;
    painter.scale(scale, scale);
    // Outlines stay at least one pixel wide, so the small sizes keep a crisp edge.
    const qreal pixel = 1 / scale;
    for (const Shape &shape : bookDrawing()) {
        if (shape.fineDetail && size < 32)
            continue;
        if (!shape.stops.isEmpty()) {
            QLinearGradient gradient(shape.from, shape.to);
            gradient.setStops(shape.stops);
            painter.fillPath(shape.path, gradient);
        }
        if (shape.stroke.isValid()) {
            const qreal width = std::max(shape.strokeWidth, pixel);
            painter.strokePath(shape.path,
                               QPen(shape.stroke, shape.fineDetail ? shape.strokeWidth : width,
                                    Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        }
    }
    return image;
}

QByteArray bookSvg()
{
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" "
           "viewBox=\"0 0 48 48\">\n"
        << "  <title>Dialvault</title>\n";
    const QList<Shape> shapes = bookDrawing();
    out << "  <defs>\n";
    for (qsizetype i = 0; i < shapes.size(); ++i) {
        const Shape &shape = shapes[i];
        if (shape.stops.isEmpty())
            continue;
        out << "    <linearGradient id=\"g" << i << "\" gradientUnits=\"userSpaceOnUse\" x1=\""
            << svgNumber(shape.from.x()) << "\" y1=\"" << svgNumber(shape.from.y()) << "\" x2=\""
            << svgNumber(shape.to.x()) << "\" y2=\"" << svgNumber(shape.to.y()) << "\">\n";
        for (const QGradientStop &stop : shape.stops)
            out << "      <stop offset=\"" << svgNumber(stop.first) << "\" stop-color=\""
                << stop.second.name() << "\"/>\n";
        out << "    </linearGradient>\n";
    }
    out << "  </defs>\n";
    for (qsizetype i = 0; i < shapes.size(); ++i) {
        const Shape &shape = shapes[i];
        const bool isFilled = !shape.stops.isEmpty();
        out << "  <path d=\"" << svgPathData(shape.path, isFilled) << "\" fill=\""
            << (isFilled ? QStringLiteral("url(#g%1)").arg(i) : QStringLiteral("none")) << "\"";
        if (shape.stroke.isValid())
            out << " stroke=\"" << shape.stroke.name() << "\" stroke-width=\""
                << svgNumber(shape.strokeWidth)
                << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        out << "/>\n";
    }
    out << "</svg>\n";
    out.flush();
    return svg.toUtf8();
}

} // namespace images
