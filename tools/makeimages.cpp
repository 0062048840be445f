// Draws every picture the windows show: the six background panels, the book
// icon (PNG sizes, one ICO, a scalable SVG), the two cursors and the palette
// GIF. Everything is drawn from code, so the outputs rebuild byte for byte.
//
//   dialvault-makeimages OUTDIR         writes every file into OUTDIR
//   dialvault-makeimages --check DIR    fails unless DIR holds exactly what
//                                       would be written
//
// The program always draws on the offscreen platform, so that no display or
// desktop setting reaches the pixels.

#include "fonts/interfacefont.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRawFont>
#include <QTextLayout>
#include <QTextStream>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

using namespace dialvault;

namespace {

struct Output
{
    QString name;
    QByteArray bytes;
};

// ---------------------------------------------------------------- encoders

QByteArray writtenWith(const QImage &image, const char *format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (qstrcmp(format, "jpeg") == 0) {
        writer.setProgressiveScanWrite(true);
        writer.setOptimizedWrite(true);
    }
    if (!writer.write(image))
        qFatal("cannot encode %s: %s", format, qPrintable(writer.errorString()));
    return bytes;
}

QByteArray jpegBytes(const QImage &image)
{
    // Fine stripes blur at lower qualities.
    return writtenWith(image.convertToFormat(QImage::Format_RGB32), "jpeg", 92);
}

QByteArray pngBytes(const QImage &image)
{
    return writtenWith(image.convertToFormat(QImage::Format_ARGB32), "png");
}

void appendLe16(QByteArray &out, quint16 value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void appendLe32(QByteArray &out, quint32 value)
{
    appendLe16(out, quint16(value & 0xFFFF));
    appendLe16(out, quint16(value >> 16));
}

// One ICO file holding every image as a 32-bit bitmap with its AND mask: the
// form that every Windows version and every icon reader understands.
QByteArray icoBytes(const QList<QImage> &images)
{
    QList<QByteArray> bitmaps;
    for (const QImage &source : images) {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        const int w = image.width();
        const int h = image.height();
        const int maskStride = ((w + 31) / 32) * 4;
        QByteArray bitmap;
        appendLe32(bitmap, 40);
        appendLe32(bitmap, quint32(w));
        appendLe32(bitmap, quint32(2 * h)); // colour rows and mask rows
        appendLe16(bitmap, 1);
        appendLe16(bitmap, 32);
        appendLe32(bitmap, 0);
        appendLe32(bitmap, quint32(w * h * 4 + maskStride * h));
        for (int i = 0; i < 4; ++i)
            appendLe32(bitmap, 0);
        for (int y = h - 1; y >= 0; --y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                bitmap.append(char(qBlue(line[x])));
                bitmap.append(char(qGreen(line[x])));
                bitmap.append(char(qRed(line[x])));
                bitmap.append(char(qAlpha(line[x])));
            }
        }
        for (int y = h - 1; y >= 0; --y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            QByteArray row(maskStride, '\0');
            for (int x = 0; x < w; ++x) {
                if (qAlpha(line[x]) == 0)
                    row[x / 8] = char(uchar(row[x / 8]) | (0x80 >> (x % 8)));
            }
            bitmap.append(row);
        }
        bitmaps.append(bitmap);
    }

    QByteArray out;
    appendLe16(out, 0);
    appendLe16(out, 1);
    appendLe16(out, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (int i = 0; i < images.size(); ++i) {
        const int w = images[i].width();
        const int h = images[i].height();
        out.append(char(w >= 256 ? 0 : w));
        out.append(char(h >= 256 ? 0 : h));
        out.append('\0');
        out.append('\0');
        appendLe16(out, 1);
        appendLe16(out, 32);
        appendLe32(out, quint32(bitmaps[i].size()));
        appendLe32(out, offset);
        offset += quint32(bitmaps[i].size());
    }
    for (const QByteArray &bitmap : bitmaps)
        out.append(bitmap);
    return out;
}

// Variable-width codes, least significant bit first, as GIF packs them.
class CodeWriter
{
public:
    void put(int code, int width)
    {
        pending_ |= quint32(code) << pendingBits_;
        pendingBits_ += width;
        while (pendingBits_ >= 8) {
            bytes_.append(char(pending_ & 0xFF));
            pending_ >>= 8;
            pendingBits_ -= 8;
        }
    }
    QByteArray finish()
    {
        if (pendingBits_ > 0)
            bytes_.append(char(pending_ & 0xFF));
        pending_ = 0;
        pendingBits_ = 0;
        return bytes_;
    }

private:
    QByteArray bytes_;
    quint32 pending_ = 0;
    int pendingBits_ = 0;
};

QByteArray lzwCodes(const QImage &indexed, int minCodeSize)
{
    constexpr int maxCodes = 4096;
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    // Code of (string with code `prefix`) + pixel, or -1.
    std::vector<int> extension(size_t(maxCodes) * 256, -1);
    int nextCode = endCode + 1;
    int codeSize = minCodeSize + 1;
    CodeWriter writer;
    writer.put(clearCode, codeSize);

    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar *line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int pixel = line[x];
            if (prefix < 0) {
                prefix = pixel;
                continue;
            }
            int &known = extension[size_t(prefix) * 256 + size_t(pixel)];
            if (known >= 0) {
                prefix = known;
                continue;
            }
            writer.put(prefix, codeSize);
            known = nextCode++;
            if (known >= (1 << codeSize) && codeSize < 12)
                ++codeSize;
            if (nextCode == maxCodes) {
                // Start afresh rather than run with a full table.
                writer.put(clearCode, codeSize);
                std::fill(extension.begin(), extension.end(), -1);
                nextCode = endCode + 1;
                codeSize = minCodeSize + 1;
            }
            prefix = pixel;
        }
    }
    writer.put(prefix, codeSize);
    writer.put(endCode, codeSize);
    return writer.finish();
}

QByteArray gifBytes(const QImage &indexed)
{
    const QList<QRgb> colours = indexed.colorTable();
    int tableBits = 1;
    while ((1 << tableBits) < colours.size())
        ++tableBits;

    QByteArray out("GIF87a");
    appendLe16(out, quint16(indexed.width()));
    appendLe16(out, quint16(indexed.height()));
    out.append(char(0x80 | ((tableBits - 1) << 4) | (tableBits - 1)));
    out.append('\0'); // background colour index
    out.append('\0'); // square pixels
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb colour = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        out.append(char(qRed(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qBlue(colour)));
    }
    out.append(',');
    appendLe16(out, 0);
    appendLe16(out, 0);
    appendLe16(out, quint16(indexed.width()));
    appendLe16(out, quint16(indexed.height()));
    out.append('\0');
    const int minCodeSize = std::max(2, tableBits);
    out.append(char(minCodeSize));
    const QByteArray codes = lzwCodes(indexed, minCodeSize);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const qsizetype length = std::min<qsizetype>(255, codes.size() - at);
        out.append(char(length));
        out.append(codes.mid(at, length));
    }
    out.append('\0');
    out.append(';');
    return out;
}

// ---------------------------------------------------------------- colours

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

// ---------------------------------------------------------------- lettering

// The outline of a text in the interface font, shaped and ordered by Qt's
// text layout, with its baseline at y = 0 and its ink starting at x = 0.
QPainterPath textPath(const QString &text, int pixelSize, bool bold)
{
    QFont font(interfaceFontFamily());
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

enum class Anchor { Left, Centre, Right };

QPainterPath placed(const QPainterPath &path, qreal x, qreal baseline, Anchor anchor)
{
    const qreal width = path.boundingRect().width();
    const qreal left = anchor == Anchor::Left ? x
        : anchor == Anchor::Centre            ? x - width / 2
                                              : x - width;
    return path.translated(std::round(left), baseline);
}

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

void drawSoftShadow(QImage &target, const QPainterPath &shape, const QColor &colour, QPointF offset,
                    qreal spread, int radius)
{
    QImage mask(target.size(), QImage::Format_ARGB32_Premultiplied);
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

struct LetteringStyle
{
    QColor top;
    QColor bottom;
    QColor outline;
    qreal outlineWidth;
    QColor shadow;
};

// Lettering raised from the panel: a soft shadow, a dark rim, a graded face.
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

// A thin gold rule that fades out at both ends, beside or under a heading.
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

// ---------------------------------------------------------------- panels

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

// The blue panel of fine horizontal stripes inside a bevelled raised frame.
// The frame follows the part of the picture the window shows (`visible`);
// rows or columns beyond it are cut off by the window and stay dark.
QImage stripedPanel(QSize picture, QSize visible, std::optional<QPointF> glow = std::nullopt)
{
    QImage image(picture, QImage::Format_RGB32);
    const int vw = std::min(picture.width(), visible.width());
    const int vh = std::min(picture.height(), visible.height());
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (x >= vw || y >= vh) {
                line[x] = frameOuter.rgb();
                continue;
            }
            const int toLeft = x;
            const int toTop = y;
            const int toRight = vw - 1 - x;
            const int toBottom = vh - 1 - y;
            const int edge = std::min({toLeft, toTop, toRight, toBottom});
            if (edge == 0) {
                line[x] = frameOuter.rgb();
            } else if (edge <= bevelWidth) {
                // Light falls from the top left; corners split on the diagonal.
                const bool lit = std::min(toLeft, toTop) <= std::min(toRight, toBottom);
                const qreal depth = qreal(edge - 1) / (bevelWidth - 1);
                line[x] = lit ? mix(frameLightOuter, frameLightInner, depth).rgb()
                              : mix(frameDarkOuter, frameDarkInner, depth).rgb();
            } else if (edge == bevelWidth + 1) {
                line[x] = frameInnerRim.rgb();
            } else {
                const qreal along = qreal(y) / (vh - 1);
                qreal light = 1.0;
                if (glow) {
                    const qreal reach = 0.55 * vw;
                    const qreal distance = std::hypot(x - glow->x(), (y - glow->y()) * 1.6);
                    const qreal near = std::max(0.0, 1.0 - distance / reach);
                    light += 0.32 * near * near;
                }
                if (y % 2 == 1)
                    light *= stripeShade;
                line[x] = scaled(mix(panelTop, panelBottom, along), light);
            }
        }
    }
    return image;
}

// ---------------------------------------------------------------- windows

const QString bookTitle = QStringLiteral("دفترچه تلفن");
const QString programName = QStringLiteral("Dialvault");

QImage mainPanel()
{
    // Labels and entry boxes start at y 64 and the button column at x 32..125:
    // the title keeps to the band above them at the right.
    QImage image = stripedPanel({413, 240}, {413, 239}, QPointF(330, 20));
    const QPainterPath title = placed(textPath(bookTitle, 30, true), 396, 40, Anchor::Right);
    drawLettering(image, title, goldLettering);
    const QPainterPath name = placed(textPath(programName, 12, true), 396, 56, Anchor::Right);
    drawLettering(image, name, paleLettering);
    drawRule(image, title.boundingRect().left() - 20, name.boundingRect().left() - 8, 51);
    return image;
}

QImage helpPanel()
{
    // The instructions start at y 120.
    QImage image = stripedPanel({314, 382}, {314, 382}, QPointF(157, 40));
    const QPainterPath heading
        = placed(textPath(QStringLiteral("راهنما"), 34, true), 157, 62, Anchor::Centre);
    drawLettering(image, heading, goldLettering);
    const QRectF box = heading.boundingRect();
    drawRule(image, 24, box.left() - 12, 48);
    drawRule(image, box.right() + 12, 290, 48);
    return image;
}

QImage aboutPanel()
{
    // The version line starts at y 96.
    QImage image = stripedPanel({384, 377}, {384, 376}, QPointF(192, 34));
    const QPainterPath title = placed(textPath(bookTitle, 30, true), 192, 50, Anchor::Centre);
    drawLettering(image, title, goldLettering);
    const QPainterPath name = placed(textPath(programName, 13, true), 192, 78, Anchor::Centre);
    drawLettering(image, name, paleLettering);
    const QRectF box = name.boundingRect();
    drawRule(image, 110, box.left() - 10, 72);
    drawRule(image, box.right() + 10, 274, 72);
    return image;
}

// A neutral head-and-shoulders silhouette in a gilt frame.
void drawPortrait(QImage &image, const QRect &frame)
{
    QPainterPath outer;
    outer.addRect(frame);
    drawSoftShadow(image, outer, QColor(0, 0, 0, 170), QPointF(2, 3), 0, 2);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Gilt moulding: lit on the top and left, in shade on the bottom and right.
    const int moulding = 5;
    for (int i = 0; i < moulding; ++i) {
        const QRect ring = frame.adjusted(i, i, -i, -i);
        const qreal t = qreal(i) / (moulding - 1);
        const QColor lit = mix(QColor(0xFF, 0xE6, 0x9A), QColor(0xC8, 0x90, 0x30), t);
        const QColor shade = mix(QColor(0x6A, 0x44, 0x10), QColor(0xA8, 0x76, 0x24), t);
        painter.setPen(Qt::NoPen);
        painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), 1), lit);
        painter.fillRect(QRect(ring.left(), ring.top(), 1, ring.height()), lit);
        painter.fillRect(QRect(ring.left() + 1, ring.bottom(), ring.width() - 1, 1), shade);
        painter.fillRect(QRect(ring.right(), ring.top() + 1, 1, ring.height() - 1), shade);
    }
    const QRect mat = frame.adjusted(moulding, moulding, -moulding, -moulding);
    painter.fillRect(mat, QColor(0xF2, 0xEC, 0xDC));
    const QRect photo = mat.adjusted(4, 4, -4, -4);
    painter.fillRect(photo.adjusted(-1, -1, 1, 1), QColor(0x9C, 0x94, 0x80));

    QLinearGradient backdrop(photo.topLeft(), photo.bottomLeft());
    backdrop.setColorAt(0, QColor(0xD4, 0xDE, 0xE8));
    backdrop.setColorAt(1, QColor(0x84, 0x94, 0xA8));
    painter.fillRect(photo, backdrop);

    painter.setClipRect(photo);
    const qreal cx = photo.center().x() + 0.5;
    const qreal headTop = photo.top() + photo.height() * 0.20;
    const qreal headHeight = photo.height() * 0.34;
    const qreal headWidth = headHeight * 0.80;
    QPainterPath head;
    head.addEllipse(QRectF(cx - headWidth / 2, headTop, headWidth, headHeight));
    const qreal neckTop = headTop + headHeight * 0.80;
    QPainterPath neck;
    neck.addRect(QRectF(cx - headWidth * 0.24, neckTop, headWidth * 0.48, headHeight * 0.7));
    const qreal shoulders = neckTop + headHeight * 0.30;
    QPainterPath body;
    body.moveTo(cx - headWidth * 0.24, shoulders);
    body.cubicTo(cx - photo.width() * 0.30, shoulders, cx - photo.width() * 0.44,
                 shoulders + headHeight * 0.08, cx - photo.width() * 0.46,
                 shoulders + headHeight * 0.45);
    body.lineTo(cx - photo.width() * 0.50, photo.bottom() + 2);
    body.lineTo(cx + photo.width() * 0.50, photo.bottom() + 2);
    body.lineTo(cx + photo.width() * 0.46, shoulders + headHeight * 0.45);
    body.cubicTo(cx + photo.width() * 0.44, shoulders + headHeight * 0.08,
                 cx + photo.width() * 0.30, shoulders, cx + headWidth * 0.24, shoulders);
    body.closeSubpath();

    QLinearGradient tone(QPointF(cx - photo.width() / 2.0, headTop),
                         QPointF(cx + photo.width() / 2.0, photo.bottom()));
    tone.setColorAt(0, QColor(0x7C, 0x86, 0x92));
    tone.setColorAt(1, QColor(0x46, 0x4E, 0x5A));
    painter.fillPath(head.united(neck).united(body), tone);
    // A soft light from the top left, like a studio portrait.
    QRadialGradient light(QPointF(photo.left() + photo.width() * 0.3, photo.top()),
                          photo.height() * 0.9);
    light.setColorAt(0, QColor(255, 255, 255, 60));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(photo, light);
}

QImage pictureCard()
{
    // The exit button stands at x 192..256, y 128..153.
    QImage image = stripedPanel({272, 165}, {272, 164}, QPointF(190, 50));
    drawPortrait(image, QRect(14, 14, 86, 134));
    const qreal column = 186;
    drawLettering(image, placed(textPath(programName, 20, true), column, 48, Anchor::Centre),
                  goldLettering);
    drawRule(image, column - 56, column + 56, 60);
    drawLettering(
        image, placed(textPath(QStringLiteral("۱۳۸۳/۵/۲۸"), 14, true), column, 84, Anchor::Centre),
        paleLettering);
    drawLettering(
        image, placed(textPath(QStringLiteral("نسخه 2.03"), 14, true), column, 108, Anchor::Centre),
        paleLettering);
    return image;
}

QImage listPanel()
{
    return stripedPanel({493, 325}, {493, 325}, QPointF(246, 20));
}

QImage passwordPanel()
{
    // The entry box covers x 104..193, y 31..50; its text sits near y 45.
    QImage image = stripedPanel({226, 110}, {224, 109}, QPointF(112, 10));
    const QPainterPath word
        = placed(textPath(QStringLiteral("Password:"), 14, true), 14, 46, Anchor::Left);
    if (word.boundingRect().right() > 100)
        qFatal("the password lettering runs under the entry box");
    drawLettering(image, word, paleLettering);
    return image;
}

// ---------------------------------------------------------------- book icon

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

// ---------------------------------------------------------------- cursors

constexpr QPoint arrowHotSpot(10, 5);
constexpr QPoint birdHotSpot(5, 7);

QImage arrowCursor()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
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

QImage birdCursor()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
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

// ---------------------------------------------------------------- palette

// Thirty hues in three tones over a row of greys, each swatch framed by a
// dark line: 121 colours in a 128-entry GIF palette.
QImage paletteStrip()
{
    constexpr int columns = 30;
    constexpr int rows = 4;
    constexpr int cellW = 25;
    constexpr int cellH = 20;
    QList<QRgb> colours{qRgb(0x2A, 0x2A, 0x2E)};
    QImage image(columns * cellW, rows * cellH, QImage::Format_Indexed8);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            QColor colour;
            if (row < 3) {
                const qreal hue = qreal(column) / columns;
                const qreal lightness[] = {0.80, 0.55, 0.32};
                const qreal saturation[] = {0.70, 0.85, 0.75};
                colour
                    = QColor::fromHslF(float(hue), float(saturation[row]), float(lightness[row]));
            } else {
                const int grey = int(std::lround(255.0 * (columns - 1 - column) / (columns - 1)));
                colour = QColor(grey, grey, grey);
            }
            const int index = int(colours.size());
            colours.append(colour.rgb());
            for (int y = 0; y < cellH; ++y) {
                uchar *line = image.scanLine(row * cellH + y);
                for (int x = 0; x < cellW; ++x) {
                    const bool border = x == 0 || y == 0 || x == cellW - 1 || y == cellH - 1;
                    line[column * cellW + x] = uchar(border ? 0 : index);
                }
            }
        }
    }
    while (colours.size() < 128)
        colours.append(qRgb(0, 0, 0));
    image.setColorTable(colours);
    return image;
}

// ---------------------------------------------------------------- checks

// The hand-written encoders must give back, through Qt's own readers, the
// pixels they were handed; a JPEG must be progressive with three components.
void checkReadsBack(const QByteArray &bytes, const char *format, const QList<QImage> &expected)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (i > 0 && !reader.jumpToNextImage())
            qFatal("%s: image %lld is missing", format, qlonglong(i));
        const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
        if (read != expected[i].convertToFormat(QImage::Format_ARGB32))
            qFatal("%s: image %lld reads back different", format, qlonglong(i));
    }
}

void checkProgressiveJpeg(const QByteArray &bytes, const QString &name)
{
    qsizetype at = 2;
    while (at + 4 <= bytes.size() && uchar(bytes[at]) == 0xFF) {
        const uchar marker = uchar(bytes[at + 1]);
        const int length = (uchar(bytes[at + 2]) << 8) | uchar(bytes[at + 3]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8
            && marker != 0xCC) {
            if (marker != 0xC2 || uchar(bytes[at + 9]) != 3)
                qFatal("%s is not a progressive three-component JPEG", qPrintable(name));
            return;
        }
        at += 2 + length;
    }
    qFatal("%s has no frame header", qPrintable(name));
}

void checkHotSpot(const QImage &cursor, QPoint hotSpot, const char *name)
{
    if (qAlpha(cursor.pixel(hotSpot)) < 200)
        qFatal("the %s cursor has no ink at its hot spot", name);
}

// ---------------------------------------------------------------- outputs

QList<Output> everyOutput()
{
    QList<Output> outputs;
    const QList<std::pair<QString, QImage>> panels{
        {QStringLiteral("form1.jpg"), mainPanel()},  {QStringLiteral("form2.jpg"), helpPanel()},
        {QStringLiteral("form3.jpg"), aboutPanel()}, {QStringLiteral("form4.jpg"), pictureCard()},
        {QStringLiteral("form5.jpg"), listPanel()},  {QStringLiteral("form6.jpg"), passwordPanel()},
    };
    for (const auto &[name, image] : panels) {
        const QByteArray bytes = jpegBytes(image);
        checkProgressiveJpeg(bytes, name);
        outputs.append({name, bytes});
    }

    QList<QImage> icoImages;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage icon = bookIcon(size);
        outputs.append({QStringLiteral("book-%1.png").arg(size), pngBytes(icon)});
        if (size == 48 || size == 32 || size == 16)
            icoImages.prepend(icon);
    }
    const QByteArray ico = icoBytes(icoImages);
    checkReadsBack(ico, "ico", icoImages);
    outputs.append({QStringLiteral("book.ico"), ico});
    outputs.append({QStringLiteral("book.svg"), bookSvg()});

    const QImage arrow = arrowCursor();
    checkHotSpot(arrow, arrowHotSpot, "arrow");
    outputs.append({QStringLiteral("arrow.png"), pngBytes(arrow)});
    const QImage bird = birdCursor();
    checkHotSpot(bird, birdHotSpot, "bird");
    outputs.append({QStringLiteral("bird.png"), pngBytes(bird)});

    const QImage palette = paletteStrip();
    const QByteArray gif = gifBytes(palette);
    checkReadsBack(gif, "gif", {palette});
    outputs.append({QStringLiteral("palette.gif"), gif});
    return outputs;
}

int usage()
{
    QTextStream(stderr) << "usage: dialvault-makeimages OUTDIR | --check DIR\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    useInterfaceFont();

    const QStringList args = app.arguments().mid(1);
    const bool check = !args.isEmpty() && args.first() == QLatin1String("--check");
    if (args.size() != (check ? 2 : 1))
        return usage();
    const QDir dir(args.last());
    if (!check && !dir.mkpath(QStringLiteral(".")))
        qFatal("cannot create %s", qPrintable(dir.path()));

    int differing = 0;
    for (const Output &output : everyOutput()) {
        QFile file(dir.filePath(output.name));
        if (check) {
            if (!file.open(QIODevice::ReadOnly) || file.readAll() != output.bytes) {
                QTextStream(stderr) << output.name << " differs from what the generator draws\n";
                ++differing;
            }
            continue;
        }
        if (!file.open(QIODevice::WriteOnly) || file.write(output.bytes) != output.bytes.size()
            || !file.flush())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
    return differing == 0 ? 0 : 1;
}
