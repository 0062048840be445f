#include "images/lettering.h"

#include "fonts/interfacefont.h"
#include "images/drawing.h"

#include <QGlyphRun>
#include <QLinearGradient>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <cmath>

namespace images {

QPainterPath textPath(const QString &text, int pixelSize, bool bold)
{
    QFont font(dialvault::interfaceFontFamily());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);

    QTextLayout layout(text, font);
    QTextOption option;
    option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(100000);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();

    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const QList<QGlyphRun> runs = layout.glyphRuns();
    for (const QGlyphRun &run : runs) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            path.addPath(raw.pathForGlyph(glyphs[i]).translated(positions[i]));
    }
    if (path.isEmpty())
        qFatal("the interface font drew nothing for a lettering");
    return path.translated(-path.boundingRect().left(), -line.ascent());
}

QPainterPath placed(const QPainterPath &path, qreal x, qreal baseline, Anchor anchor)
{
    const qreal width = path.boundingRect().width();
    const qreal left = anchor == Anchor::Left ? x
        : anchor == Anchor::Centre            ? x - width / 2
                                              : x - width;
    return path.translated(std::round(left), baseline);
}

void drawLettering(QImage &target, const QPainterPath &path, const LetteringStyle &style)
{
    drawSoftShadow(target, path, style.shadow, QPointF(1.5, 2), style.outlineWidth / 2, 2);
    QPainter painter(&target);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.strokePath(
        path, QPen(style.outline, style.outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QRectF box = path.boundingRect();
    QLinearGradient face(box.topLeft(), box.bottomLeft());
    face.setColorAt(0, style.top);
    face.setColorAt(1, style.bottom);
    painter.fillPath(path, face);
}

const LetteringStyle goldLettering{QColor(0xFF, 0xF4, 0xC2), QColor(0xE8, 0xA8, 0x2E),
                                   QColor(0x0A, 0x14, 0x33), 3.0, QColor(0, 0, 0, 170)};
const LetteringStyle paleLettering{QColor(0xFF, 0xFF, 0xFF), QColor(0xC8, 0xE4, 0xFF),
                                   QColor(0x0A, 0x14, 0x33), 2.4, QColor(0, 0, 0, 150)};
} // namespace images
