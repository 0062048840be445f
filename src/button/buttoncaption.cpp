#include "button/buttonsurface.h"

#include <QFontMetricsF>
#include <QList>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace dialvault {

namespace {

// The caption as drawn: "&" markers removed ("&&" is one literal "&") and the
// positions of the characters they mark.
struct MarkedText
{
    QString text;
    QList<qsizetype> underlined;
};

MarkedText stripAccessMarkers(const QString &caption)
{
    MarkedText out;
    out.text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) != u'&') {
            out.text.append(caption.at(i));
            continue;
        }
        if (++i == caption.size())
            break; // a lone trailing marker draws nothing
        if (caption.at(i) != u'&')
            out.underlined.append(out.text.size());
        out.text.append(caption.at(i));
    }
    return out;
}

int floorHalf(int n)
{
    return n >= 0 ? n / 2 : -((1 - n) / 2);
}

} // namespace

void ButtonSurface::setCaption(const QString &caption)
{
    m_caption = caption;
}

void ButtonSurface::setFont(const QFont &font)
{
    m_font = font;
}

void ButtonSurface::setBold(bool bold)
{
    m_bold = bold;
}

void ButtonSurface::setTextColour(Colour colour)
{
    m_textColour = colour;
}

QFont ButtonSurface::captionFont() const
{
    QFont f = m_font;
    if (m_bold)
        f.setBold(true);
    // Unsmoothed letters look uneven once a pixel is several device pixels,
    // beside the smoothed text of the labels and boxes.
    if (m_scale > 1)
        f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QSizeF ButtonSurface::captionSize() const
{
    const QFontMetricsF metrics(captionFont());
    return {metrics.horizontalAdvance(m_caption), metrics.height()};
}

void ButtonSurface::drawCaption(const Rect &r)
{
    if (m_caption.isEmpty() || m_image.isNull())
        return;
    const MarkedText marked = stripAccessMarkers(m_caption);
    const QFont f = captionFont();

    // Laid out by hand rather than with the painter's mnemonic support: that
    // underlines through a separate text run, which breaks the joining of
    // Persian letters on either side of the marked one.
    QTextLayout layout(marked.text, f);
    QTextOption option;
    // A left-to-right paragraph, as the window system lays out text without a
    // reading-order flag: Persian runs still read right to left, and a
    // trailing space stays at the right end.
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    const QFontMetricsF metrics(f);
    option.setTabStopDistance(8 * metrics.averageCharWidth());
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return;
    }
    line.setNumColumns(int(marked.text.size()));
    layout.endLayout();

    // Whole pixels, rounded down, so that a rectangle moved by one pixel
    // moves the text by exactly one pixel.
    const int textW = int(std::lround(line.naturalTextWidth()));
    const int textH = int(std::lround(line.ascent() + line.descent()));
    const int x = r.left + floorHalf(r.right - r.left - textW);
    const int y = r.top + floorHalf(r.bottom - r.top - textH);

    const QColor ink = QColor::fromRgb(toQRgb(m_textColour));
    QPainter painter(&m_image);
    painter.setClipRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
    painter.setPen(ink);
    layout.draw(&painter, QPointF(x, y));

    const int underlineY = y + int(std::lround(line.ascent() + metrics.underlinePos()));
    const int thickness = std::max(1, int(std::lround(metrics.lineWidth())));
    for (const qsizetype i : marked.underlined) {
        const qreal a = line.cursorToX(int(i));
        const qreal b = line.cursorToX(int(i + 1));
        const int left = x + int(std::lround(std::min(a, b)));
        const int right = x + int(std::lround(std::max(a, b)));
        painter.fillRect(QRect(left, underlineY, right - left, thickness), ink);
    }
}

} // namespace dialvault
