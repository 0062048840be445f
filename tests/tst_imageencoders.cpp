// The GIF and ICO writers of the image generator, read back through Qt's
// own readers: every pixel must come back as it was handed over.

#include "images/encoders.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

using namespace images;

namespace {

QList<QImage> readAll(const QByteArray &bytes, const char *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    QList<QImage> images;
    do {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        images.append(image.convertToFormat(QImage::Format_ARGB32));
    } while (reader.jumpToNextImage());
    return images;
}

QImage indexed(int width, int height, int colours, auto pixelAt)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table.append(qRgb(i * 7 % 256, 255 - i, i * 13 % 256));
    image.setColorTable(table);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = uchar(pixelAt(x, y) % colours);
    }
    return image;
}

} // namespace

class TestImageEncoders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gifReadsBack_data()
    {
        QTest::addColumn<QImage>("image");
        QRandomGenerator noise(8);
        // Noise fills the code table again and again and reaches 12-bit codes.
        QTest::newRow("noise, 256 colours")
            << indexed(320, 200, 256, [&noise](int, int) { return int(noise.bounded(256)); });
        QTest::newRow("one pixel, two colours") << indexed(1, 1, 2, [](int, int) { return 1; });
        // Three colours: the table is padded to four, the smallest code size.
        QTest::newRow("three colours") << indexed(7, 5, 3, [](int x, int y) { return x + y; });
        // One long run: every new string extends the one just added.
        QTest::newRow("one colour") << indexed(640, 480, 16, [](int, int) { return 5; });
        QTest::newRow("stripes") << indexed(333, 77, 128, [](int x, int y) { return x / 9 + y; });
    }

    void gifReadsBack()
    {
        QFETCH(QImage, image);
        const QList<QImage> read = readAll(gifBytes(image), "gif");
        QCOMPARE(read.size(), 1);
        QCOMPARE(read.first(), image.convertToFormat(QImage::Format_ARGB32));
    }

    void icoHoldsEverySize()
    {
        // Compared premultiplied, as icons are drawn: Qt's reader premultiplies,
        // which rounds the colour of faint pixels.
        QList<QImage> images;
        for (const int size : {256, 48, 17, 1}) {
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const QRgb colour = qRgba(x % 256, y % 256, 90, 40 + x % 200);
                    image.setPixel(x, y, (x + y) % 3 == 0 ? 0 : qPremultiply(colour));
                }
            }
            images.append(image);
        }
        const QByteArray ico = icoBytes(images);
        const QList<QImage> read = readAll(ico, "ico");
        QCOMPARE(read.size(), images.size());
        for (qsizetype i = 0; i < images.size(); ++i)
            QCOMPARE(read[i].convertToFormat(QImage::Format_ARGB32_Premultiplied), images[i]);

        // Qt reads a 32-bit icon by its alpha alone; older Windows draw by the
        // AND mask, one bit per pixel, most significant first, rows bottom-up
        // and padded to 32 bits. The top row of the 17-pixel image is its last
        // mask row: transparent at x = 0, 3, 6, ..., 15.
        const qsizetype entry = 6 + 16 * 2;
        const qsizetype offset = qFromLittleEndian<quint32>(ico.constData() + entry + 12);
        const qsizetype lastMaskRow = offset + 40 + 17 * 17 * 4 + 16 * 4;
        QCOMPARE(ico.mid(lastMaskRow, 4), QByteArray::fromHex("92490000"));
    }
};

QTEST_GUILESS_MAIN(TestImageEncoders)
#include "tst_imageencoders.moc"
