#include "images/encoders.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <vector>

namespace images {

namespace {

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

} // namespace

QByteArray jpegBytes(const QImage &image)
{
    // Fine stripes blur at lower qualities.
    return writtenWith(image.convertToFormat(QImage::Format_RGB32), "jpeg", 92);
}

QByteArray pngBytes(const QImage &image)
{
    return writtenWith(image.convertToFormat(QImage::Format_ARGB32), "png");
}

// 32-bit bitmaps with an AND mask: the form that every Windows version and
// every icon reader understands.
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
} // namespace images
