// Draws every picture the windows show: the six background panels, the book
// icon (PNG sizes, one ICO, a scalable SVG), the two cursors and the palette
// GIF; the panels, the cursors and the window icon's sizes also at twice the
// size for scaled screens ("name@2x.png", which Qt reads at a device pixel
// ratio of 2). Everything is drawn from code, so the outputs rebuild byte for byte
// on one processor; another may round a smoothed edge by a level.
//
//   dialvault-makeimages OUTDIR         writes every file into OUTDIR
//   dialvault-makeimages --check DIR    fails unless DIR holds what would be
//                                       written, every pixel within a level
//                                       or two of it
//
// The program always draws on the offscreen platform, so that no display or
// desktop setting reaches the pixels.

#include "fonts/interfacefont.h"
#include "images/bookicon.h"
#include "images/cursors.h"
#include "images/encoders.h"
#include "images/palettestrip.h"
#include "images/windowpictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QTextStream>

#include <cstdlib>

using namespace images;

namespace {

struct Output
{
    QString name;
    QByteArray bytes;
};

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

// Qt's raster engine takes other vector paths on other processors (AVX-512
// or not), which may round a smoothed pixel, and so JPEG's blocks, a level or
// two apart; a drawing that changed moves pixels much further.
bool sameDrawing(const QByteArray &committed, const QByteArray &drawn)
{
    if (committed == drawn)
        return true;
    const QImage a = QImage::fromData(committed).convertToFormat(QImage::Format_ARGB32);
    const QImage b = QImage::fromData(drawn).convertToFormat(QImage::Format_ARGB32);
    if (a.isNull() || a.size() != b.size())
        return false;
    constexpr int tolerance = 3;
    for (int y = 0; y < a.height(); ++y) {
        const auto *rowA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *rowB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (std::abs(qRed(rowA[x]) - qRed(rowB[x])) > tolerance
                || std::abs(qGreen(rowA[x]) - qGreen(rowB[x])) > tolerance
                || std::abs(qBlue(rowA[x]) - qBlue(rowB[x])) > tolerance
                || std::abs(qAlpha(rowA[x]) - qAlpha(rowB[x])) > tolerance)
                return false;
        }
    }
    return true;
}

void checkHotSpot(const QImage &cursor, QPoint hotSpot, const char *name)
{
    if (qAlpha(cursor.pixel(hotSpot * cursor.devicePixelRatio())) < 200)
        qFatal("the %s cursor has no ink at its hot spot", name);
}

QList<Output> everyOutput()
{
    QList<Output> outputs;
    const QList<std::pair<QString, QImage (*)(int)>> panels{
        {QStringLiteral("form1"), mainPanel},  {QStringLiteral("form2"), helpPanel},
        {QStringLiteral("form3"), aboutPanel}, {QStringLiteral("form4"), pictureCard},
        {QStringLiteral("form5"), listPanel},  {QStringLiteral("form6"), passwordPanel},
    };
    for (const auto &[name, draw] : panels) {
        for (const QString &suffix : {QStringLiteral(".jpg"), QStringLiteral("@2x.jpg")}) {
            const QByteArray bytes = jpegBytes(draw(suffix.startsWith(u'@') ? 2 : 1));
            checkProgressiveJpeg(bytes, name + suffix);
            outputs.append({name + suffix, bytes});
        }
    }

    QList<QImage> icoImages;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage icon = bookIcon(size);
        outputs.append({QStringLiteral("book-%1.png").arg(size), pngBytes(icon)});
        if (size == 48 || size == 32 || size == 16)
            icoImages.prepend(icon);
    }
    // The window icon's sizes on a scaled screen, which QIcon takes by itself.
    for (const int size : {16, 32, 48})
        outputs.append({QStringLiteral("book-%1@2x.png").arg(size), pngBytes(bookIcon(2 * size))});
    const QByteArray ico = icoBytes(icoImages);
    checkReadsBack(ico, "ico", icoImages);
    outputs.append({QStringLiteral("book.ico"), ico});
    outputs.append({QStringLiteral("book.svg"), bookSvg()});

    for (const int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        const QImage arrow = arrowCursor(scale);
        checkHotSpot(arrow, arrowHotSpot, "arrow");
        outputs.append({QStringLiteral("arrow") + suffix, pngBytes(arrow)});
        const QImage bird = birdCursor(scale);
        checkHotSpot(bird, birdHotSpot, "bird");
        outputs.append({QStringLiteral("bird") + suffix, pngBytes(bird)});
    }

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
    dialvault::useInterfaceFont();

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
            if (!file.open(QIODevice::ReadOnly) || !sameDrawing(file.readAll(), output.bytes)) {
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
