// Colour arithmetic, palettes, the drawing primitives with the window
// system's pixel rules, window shapes and the access key.

#include "tst_buttonface_pixels.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QTest>

#include <climits>

using namespace dialvault;
using namespace dialvault::testing;

class TestButtonFacePrimitives : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shiftColor_data();
    void shiftColor();
    void customPalette();
    void systemPaletteFollowsTheUserScheme();
    void lineEndPointExcluded_data();
    void lineEndPointExcluded();
    void boxes();
    void drawingIsClipped();
    void focusRectangleInvertsEveryOtherPixel();
    void region_data();
    void region();
    void accessKey_data();
    void accessKey();
    void fontMapping();
};

void TestButtonFacePrimitives::shiftColor_data()
{
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<qint32>("delta");
    QTest::addColumn<bool>("proportional");
    QTest::addColumn<Colour>("expected");

    QTest::addRow("lighter, proportional") << Colour(0xC0C0C0) << 48 << true << Colour(0xF0F0F0);
    // Blue 240 - 2400/192 = 240 - 12 (truncated toward zero); red, green 230.
    QTest::addRow("darker, proportional") << Colour(0xF0F0F0) << -10 << true << Colour(0xE4E6E6);
    QTest::addRow("darker, plain") << Colour(0xC0C0C0) << -64 << false << Colour(0x808080);
    QTest::addRow("-192 plain reaches black") << Colour(0xC0C0C0) << -192 << false << Colour(0);
    // Blue C1 = 193 stays 1 above zero; red BF and green C0 go to 0.
    QTest::addRow("-192 plain, one channel above C0")
        << Colour(0xC1C0BF) << -192 << false << Colour(0x010000);
    QTest::addRow("saturates at 255") << Colour(0x10F0F0) << 100 << false << Colour(0x74FFFF);
    QTest::addRow("blue 0 stays 0, up") << Colour(0x00C0C0) << 48 << true << Colour(0x00F0F0);
    QTest::addRow("blue 0 stays 0, down") << Colour(0x00C0C0) << -100 << true << Colour(0x005C5C);
    // Extreme deltas must saturate, not wrap around.
    QTest::addRow("largest delta") << Colour(0x808080) << INT_MAX << true << Colour(0xFFFFFF);
    QTest::addRow("smallest delta") << Colour(0x808080) << INT_MIN << false << Colour(0);
}

void TestButtonFacePrimitives::shiftColor()
{
    QFETCH(Colour, colour);
    QFETCH(qint32, delta);
    QFETCH(bool, proportional);
    QFETCH(Colour, expected);
    QCOMPARE(shiftColour(colour, delta, proportional), expected);
}

void TestButtonFacePrimitives::customPalette()
{
    ButtonFace face;
    face.colourScheme = ColourScheme::CustomColors;
    face.backColour = 0xC0C0C0;
    face.foreColour = 0x123456;
    face.buildPalette();
    // Shadow, light and dark shadow match the fixed grey values; highlight
    // is C0 + 47 = EF.
    QCOMPARE(face.textColour, Colour(0x123456));
    QCOMPARE(face.faceColour, Colour(0xC0C0C0));
    QCOMPARE(face.shadowColour, Colour(0x808080));
    QCOMPARE(face.lightColour, Colour(0xDFDFDF));
    QCOMPARE(face.highlightColour, Colour(0xEFEFEF));
    QCOMPARE(face.darkShadowColour, Colour(0x000000));

    // Under the fixed scheme the stored colours are ignored.
    face.colourScheme = ColourScheme::FixedGrey;
    face.backColour = 0x336699;
    face.buildPalette();
    QCOMPARE(face.faceColour, Colour(0xC0C0C0));
    QCOMPARE(face.highlightColour, Colour(0xFFFFFF));
}

void TestButtonFacePrimitives::systemPaletteFollowsTheUserScheme()
{
    const QPalette original = QGuiApplication::palette();
    QPalette scheme = original;
    scheme.setColor(QPalette::Button, QColor(0x11, 0x22, 0x33));
    scheme.setColor(QPalette::Dark, QColor(0x44, 0x55, 0x66));
    scheme.setColor(QPalette::ButtonText, QColor(0x77, 0x88, 0x99));
    scheme.setColor(QPalette::Light, QColor(0xAA, 0xBB, 0xCC));
    scheme.setColor(QPalette::Shadow, QColor(0x01, 0x02, 0x03));
    scheme.setColor(QPalette::Midlight, QColor(0xDD, 0xEE, 0xFF));
    QGuiApplication::setPalette(scheme);

    ButtonFace face;
    face.colourScheme = ColourScheme(0); // any value but 2 and 3
    face.buildPalette();
    // Stored as red + 256 green + 65536 blue.
    QCOMPARE(face.faceColour, Colour(0x332211));
    QCOMPARE(face.shadowColour, Colour(0x665544));
    QCOMPARE(face.textColour, Colour(0x998877));
    QCOMPARE(face.highlightColour, Colour(0xCCBBAA));
    QCOMPARE(face.darkShadowColour, Colour(0x030201));
    QCOMPARE(face.lightColour, Colour(0xFFEEDD));
    QCOMPARE(face.backColour, Colour(0x332211)); // a new button's defaults
    QCOMPARE(face.foreColour, Colour(0x998877));

    // And drawn through the one conversion back to the screen's order.
    face.buttonType = ButtonStyle::Thin3D;
    face.setSize(20, 12);
    face.redraw(Look::Up, true);
    QCOMPARE(pixel(face, 10, 5), hex(qRgb(0x11, 0x22, 0x33)));

    // A later change of the scheme shows at the next rebuild.
    scheme.setColor(QPalette::Button, QColor(0x10, 0x20, 0x30));
    QGuiApplication::setPalette(scheme);
    face.buildPalette();
    QCOMPARE(face.faceColour, Colour(0x302010));
    QGuiApplication::setPalette(original);
}

void TestButtonFacePrimitives::lineEndPointExcluded_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<QPoint>>("drawn");

    // On a 6 x 4 surface.
    QTest::addRow("row") << QPoint(1, 0) << QPoint(5, 0)
                         << QList<QPoint>{{1, 0}, {2, 0}, {3, 0}, {4, 0}};
    QTest::addRow("row leftward") << QPoint(4, 1) << QPoint(1, 1)
                                  << QList<QPoint>{{4, 1}, {3, 1}, {2, 1}};
    QTest::addRow("column upward")
        << QPoint(2, 3) << QPoint(2, 0) << QList<QPoint>{{2, 3}, {2, 2}, {2, 1}};
    QTest::addRow("diagonal") << QPoint(0, 0) << QPoint(3, 3)
                              << QList<QPoint>{{0, 0}, {1, 1}, {2, 2}};
    QTest::addRow("start is end") << QPoint(2, 2) << QPoint(2, 2) << QList<QPoint>{};
    QTest::addRow("partly outside")
        << QPoint(-3, 2) << QPoint(2, 2) << QList<QPoint>{{0, 2}, {1, 2}};
}

void TestButtonFacePrimitives::lineEndPointExcluded()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<QPoint>, drawn);

    ButtonSurface surface;
    surface.resize(6, 4, 0xFFFFFF);
    surface.drawLine(from.x(), from.y(), to.x(), to.y(), 0x0000FF);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const QRgb expected
                = drawn.contains(QPoint(x, y)) ? qRgb(255, 0, 0) : qRgb(255, 255, 255);
            QCOMPARE(pixel(surface.image(), x, y), hex(expected));
        }
}

void TestButtonFacePrimitives::boxes()
{
    ButtonSurface surface;
    surface.resize(10, 8, 0xC0C0C0);
    const auto clear = [&surface] { surface.drawBox(0, 0, 10, 8, 0xFFFFFF, false); };
    const auto pixelAt = [&surface](int x, int y) { return pixel(surface.image(), x, y); };
    const QString white = hex(qRgb(255, 255, 255));
    const QString red = hex(qRgb(255, 0, 0));

    // A fill of (2,2)-(7,6) covers columns 2..6 and rows 2..5.
    clear();
    surface.drawBox(2, 2, 5, 4, 0x0000FF, false);
    QCOMPARE(pixelAt(2, 2), red);
    QCOMPARE(pixelAt(6, 5), red);
    QCOMPARE(pixelAt(7, 5), white);
    QCOMPARE(pixelAt(6, 6), white);

    // A frame is one pixel inside the same rectangle.
    clear();
    surface.drawBox(2, 2, 5, 4, 0x0000FF, true);
    QCOMPARE(pixelAt(6, 2), red);
    QCOMPARE(pixelAt(2, 5), red);
    QCOMPARE(pixelAt(6, 5), red);
    QCOMPARE(pixelAt(4, 3), white);
    QCOMPARE(pixelAt(7, 2), white);
    QCOMPARE(pixelAt(2, 6), white);

    // Empty and negative rectangles draw nothing, filled or framed.
    clear();
    for (const bool frame : {false, true}) {
        surface.drawBox(2, 2, 0, 4, 0x0000FF, frame);
        surface.drawBox(2, 2, 4, 0, 0x0000FF, frame);
        surface.drawBox(5, 5, -3, 2, 0x0000FF, frame);
        surface.drawBox(5, 5, 2, -3, 0x0000FF, frame);
    }
    QVERIFY(inkBox(surface.image(), qRgb(255, 0, 0)).isEmpty());
}

void TestButtonFacePrimitives::drawingIsClipped()
{
    ButtonSurface surface;
    surface.resize(10, 8, 0xC0C0C0);
    surface.drawBox(-5, -5, 100, 100, 0x0000FF, false);
    QCOMPARE(inkBox(surface.image(), qRgb(255, 0, 0)), QRect(0, 0, 10, 8));

    surface.drawBox(INT_MAX - 1, 0, INT_MAX, 5, 0x00FF00, true);
    surface.drawBox(-5, -5, 100, 100, 0x00FF00, true); // all four sides outside
    surface.drawPixel(-1, 0, 0x00FF00);
    surface.drawPixel(10, 0, 0x00FF00);
    surface.drawPixel(0, 8, 0x00FF00);
    surface.drawLine(INT_MIN, 3, INT_MAX, 3, 0xFF0000);
    surface.drawLine(20, 20, 30, 40, 0x00FF00);
    QVERIFY(inkBox(surface.image(), qRgb(0, 255, 0)).isEmpty());
    QCOMPARE(inkBox(surface.image(), qRgb(0, 0, 255)), QRect(0, 3, 10, 1));
}

void TestButtonFacePrimitives::focusRectangleInvertsEveryOtherPixel()
{
    // Focus rectangle (4,4)-(16,8) on 20 x 12. Counted from (4,4): the top row
    // inverts x = 4, 6, ..., 14; the bottom row (y = 7, offset 3) the odd
    // x = 5..15; the left column (6 only) and the right column (15, 5 only)
    // in between: 14 pixels in all.
    ButtonSurface surface;
    surface.resize(20, 12, 0xC0C0C0);
    surface.drawBox(0, 0, 20, 12, 0x336699, false);
    const QImage before = surface.image().copy();
    const Rect focusRect{4, 4, 16, 8};
    surface.drawFocus(focusRect, 0);

    QList<QPoint> changed;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            if (surface.image().pixel(x, y) != before.pixel(x, y))
                changed.append(QPoint(x, y));
    QCOMPARE(changed.size(), 14);
    for (const QPoint p :
         {QPoint(4, 4), QPoint(14, 4), QPoint(5, 7), QPoint(15, 7), QPoint(4, 6), QPoint(15, 5)})
        QVERIFY2(changed.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    // 0x99,0x66,0x33 inverted.
    QCOMPARE(pixel(surface.image(), 4, 4), hex(qRgb(0x66, 0x99, 0xCC)));

    surface.drawFocus(focusRect, 0);
    QCOMPARE(surface.image(), before);
}

void TestButtonFacePrimitives::region_data()
{
    QTest::addColumn<ButtonStyle>("type");
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<QList<QPoint>>("removed");

    const QList<QPoint> fourCorners{{0, 0}, {19, 0}, {0, 11}, {19, 11}};
    const QList<QPoint> rounded{{0, 0},  {1, 0},  {0, 1},  {19, 0},  {18, 0},  {19, 1},
                                {0, 11}, {1, 11}, {0, 10}, {19, 11}, {18, 11}, {19, 10}};
    QTest::addRow("1 corners") << ButtonStyle::DoubleBevel << 20 << 12 << fourCorners;
    QTest::addRow("2 rectangle") << ButtonStyle::Classic3D << 20 << 12 << QList<QPoint>{};
    QTest::addRow("3 rounded") << ButtonStyle::Gradient << 20 << 12 << rounded;
    QTest::addRow("4 rounded") << ButtonStyle::Rounded << 20 << 12 << rounded;
    QTest::addRow("5 two corners")
        << ButtonStyle::BoldFlat << 20 << 12 << QList<QPoint>{{0, 11}, {19, 0}};
    QTest::addRow("6 rectangle") << ButtonStyle::SoftShadow << 20 << 12 << QList<QPoint>{};
    QTest::addRow("7 rectangle") << ButtonStyle::Thin3D << 20 << 12 << QList<QPoint>{};
    QTest::addRow("0 rectangle") << ButtonStyle(0) << 20 << 12 << QList<QPoint>{};
    QTest::addRow("3 at 2 x 2: nothing left")
        << ButtonStyle::Gradient << 2 << 2 << QList<QPoint>{{0, 0}, {1, 0}, {0, 1}, {1, 1}};
}

void TestButtonFacePrimitives::region()
{
    QFETCH(ButtonStyle, type);
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(QList<QPoint>, removed);

    ButtonFace face;
    face.buttonType = type;
    face.setSize(w, h);
    const QRegion shape = face.buildRegion();
    QCOMPARE(face.region, shape);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            QVERIFY2(shape.contains(QPoint(x, y)) != removed.contains(QPoint(x, y)),
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    QCOMPARE(shape.boundingRect().united(QRect(0, 0, w, h)), QRect(0, 0, w, h));
}

void TestButtonFacePrimitives::accessKey_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QChar>("key");

    QTest::addRow("marked letter") << QStringLiteral("&Save") << QChar(u's');
    QTest::addRow("marker last") << QStringLiteral("Save&") << QChar();
    QTest::addRow("after a literal pair") << QStringLiteral("A&&B&C") << QChar(u'c');
    QTest::addRow("two literal pairs") << QStringLiteral("A&&B&&C") << QChar();
    QTest::addRow("one character") << QStringLiteral("&") << QChar();
    QTest::addRow("no marker") << QStringLiteral("جستجو") << QChar();
    QTest::addRow("persian letter") << QStringLiteral("&جستجو") << QChar(u'ج');
    // Only a literal pair: no key, rather than the caption's first letter.
    QTest::addRow("pair alone") << QStringLiteral("X&&Y") << QChar();
}

void TestButtonFacePrimitives::accessKey()
{
    QFETCH(QString, caption);
    QFETCH(QChar, key);
    ButtonFace face;
    face.accessKey = QChar(u'z');
    face.caption = caption;
    face.updateAccessKey();
    QCOMPARE(face.accessKey, key);
}

void TestButtonFacePrimitives::fontMapping()
{
    FontObject tahoma; // Tahoma 8.25 pt, weight 400, as the layouts store it
    QFont f = tahoma.toQFont();
    QCOMPARE(f.pixelSize(), 11); // 8.25 * 96 / 72
    QVERIFY(!f.bold());
    QVERIFY(f.styleStrategy() & QFont::NoAntialias);
    // Persian draws in the embedded interface font on every machine.
    QCOMPARE(QFontInfo(f).family(), QStringLiteral("Vazirmatn UI"));

    tahoma.weight = 700;
    tahoma.size = 12;
    f = tahoma.toQFont();
    QVERIFY(f.bold());
    QCOMPARE(f.pixelSize(), 16);

    FontObject sans;
    sans.name = QStringLiteral("MS Sans Serif");
    sans.bold = true;
    f = sans.toQFont();
    QVERIFY(f.bold());
    QCOMPARE(QFontInfo(f).family(), QStringLiteral("Vazirmatn UI"));
}

QTEST_MAIN(TestButtonFacePrimitives)
#include "tst_buttonface_primitives.moc"
