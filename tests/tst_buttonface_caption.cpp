// The caption: where it lands in each look, how it is drawn (plain pixels
// over the face, Persian joined and read right to left) and the access-key
// markers.

#include "tst_buttonface_pixels.h"

#include <QGuiApplication>
#include <QTest>

using namespace dialvault;
using namespace dialvault::testing;

namespace {

const QString search = QStringLiteral("جستجو");
const QString add = QStringLiteral("اضافه کردن ");

constexpr QRgb red = 0xFFFF0000;

// A 93 x 25 button (the main window's size) with a red caption on grey.
void prepareRed(ButtonFace &face, ButtonStyle type, const QString &caption)
{
    face.backColour = 0xC0C0C0;
    face.foreColour = 0x0000FF;
    prepare(face, type, 93, 25, ColourScheme::CustomColors);
    face.caption = caption;
}

QImage drawn(ButtonStyle type, const QString &caption, Look look = Look::Up)
{
    ButtonFace face;
    prepareRed(face, type, caption);
    drawLook(face, look);
    return face.image();
}

QList<QPoint> inkPixels(const QImage &image, QRgb ink)
{
    QList<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == ink)
                points.append(QPoint(x, y));
    return points;
}

} // namespace

class TestButtonFaceCaption : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pressedLookMovesTheCaption_data();
    void pressedLookMovesTheCaption();
    void drawnPlainOverTheFace();
    void trailingSpaceStaysAtTheRight();
    void accessMarkerKeepsLettersJoined();
    void accessMarkers();
    void boldOnlyForStyle5();
};

void TestButtonFaceCaption::pressedLookMovesTheCaption_data()
{
    QTest::addColumn<ButtonStyle>("type");
    QTest::addColumn<QRgb>("pressedInk");
    QTest::addColumn<QPoint>("move");

    // Style 4 inks its pressed caption in Light: S(C0C0C0, 31) = DF.
    QTest::addRow("1") << ButtonStyle::DoubleBevel << red << QPoint(1, 1);
    QTest::addRow("2") << ButtonStyle::Classic3D << red << QPoint(1, 1);
    QTest::addRow("3") << ButtonStyle::Gradient << red << QPoint(1, 1);
    QTest::addRow("4") << ButtonStyle::Rounded << qRgb(0xDF, 0xDF, 0xDF) << QPoint(1, 1);
    QTest::addRow("5 stays") << ButtonStyle::BoldFlat << red << QPoint(0, 0);
    QTest::addRow("6") << ButtonStyle::SoftShadow << red << QPoint(1, 1);
    QTest::addRow("7") << ButtonStyle::Thin3D << red << QPoint(1, 1);
}

void TestButtonFaceCaption::pressedLookMovesTheCaption()
{
    QFETCH(ButtonStyle, type);
    QFETCH(QRgb, pressedInk);
    QFETCH(QPoint, move);

    const QRect up = inkBox(drawn(type, search, Look::Up), red);
    const QRect down = inkBox(drawn(type, search, Look::Down), pressedInk);
    QVERIFY(!up.isEmpty());
    QCOMPARE(down, up.translated(move));
}

void TestButtonFaceCaption::drawnPlainOverTheFace()
{
    // No anti-aliasing and no background box: inside the caption's box there
    // is only the face and the ink.
    ButtonFace face;
    prepareRed(face, ButtonStyle::Thin3D, add);
    drawLook(face, Look::Up);
    const QRect box = inkBox(face.image(), red);
    QVERIFY(box.width() > 30);
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb p = face.image().pixel(x, y);
            QVERIFY2(p == red || p == qRgb(0xC0, 0xC0, 0xC0), qPrintable(hex(p)));
        }

    // Centred across: equal margins but for rounding and the side bearings.
    ButtonFace plain;
    prepareRed(plain, ButtonStyle::Thin3D, search);
    drawLook(plain, Look::Up);
    const QRect s = inkBox(plain.image(), red);
    QVERIFY2(qAbs(s.left() - (92 - s.right())) <= 2,
             qPrintable(QStringLiteral("%1..%2").arg(s.left()).arg(s.right())));
    QVERIFY(s.top() > 0 && s.bottom() < 24);

    // The disabled look embosses: a Hi copy moved by one pixel under the Shadow one.
    face.enabled = false;
    face.redraw(Look::Up, true);
    // Inside the frame, which is drawn in the same colours.
    const QImage inside = face.image().copy(2, 2, 89, 21);
    const QRect light = inkBox(inside, qRgb(0xEF, 0xEF, 0xEF)).translated(2, 2);
    const QRect dark = inkBox(inside, qRgb(0x80, 0x80, 0x80)).translated(2, 2);
    QCOMPARE(light.bottomRight(), box.bottomRight() + QPoint(1, 1));
    QCOMPARE(dark.topLeft(), box.topLeft());
}

void TestButtonFaceCaption::trailingSpaceStaysAtTheRight()
{
    // Laid out left to right as a paragraph: the trailing space takes room at
    // the right end, so the letters sit further left than without it.
    QString trimmed = add;
    trimmed.chop(1);
    const QRect withSpace = inkBox(drawn(ButtonStyle::Thin3D, add), red);
    const QRect without = inkBox(drawn(ButtonStyle::Thin3D, trimmed), red);
    QCOMPARE(withSpace.size(), without.size());
    QVERIFY2(withSpace.left() < without.left(),
             qPrintable(QStringLiteral("%1 vs %2").arg(withSpace.left()).arg(without.left())));
}

void TestButtonFaceCaption::accessMarkerKeepsLettersJoined()
{
    // The marked caption draws the very same letters (still joined), plus the
    // underline: extra pixels on one row only.
    const QList<QPoint> plain = inkPixels(drawn(ButtonStyle::Thin3D, search), red);
    const QList<QPoint> marked
        = inkPixels(drawn(ButtonStyle::Thin3D, QLatin1Char('&') + search), red);
    QVERIFY(!plain.isEmpty());
    QList<QPoint> extra;
    for (const QPoint p : marked)
        if (!plain.contains(p))
            extra.append(p);
    for (const QPoint p : plain)
        QVERIFY2(marked.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    QVERIFY(extra.size() >= 3);
    for (const QPoint p : extra)
        QCOMPARE(p.y(), extra.first().y());
    // The first letter is the rightmost one: the underline is at the right end.
    const QRect all = inkBox(drawn(ButtonStyle::Thin3D, search), red);
    QVERIFY(extra.first().x() > all.center().x());
}

void TestButtonFaceCaption::accessMarkers()
{
    // A lone trailing marker draws nothing.
    QCOMPARE(drawn(ButtonStyle::Thin3D, QStringLiteral("Save&")),
             drawn(ButtonStyle::Thin3D, QStringLiteral("Save")));
    // A pair draws one ampersand: wider than the caption without it, and
    // narrower than two.
    const int withPair = inkBox(drawn(ButtonStyle::Thin3D, QStringLiteral("A&&B")), red).width();
    QVERIFY(withPair > inkBox(drawn(ButtonStyle::Thin3D, QStringLiteral("AB")), red).width());
    QVERIFY(withPair < inkBox(drawn(ButtonStyle::Thin3D, QStringLiteral("A&&&&B")), red).width());
    // A marked Latin letter gains an underline below it.
    const QRect plain = inkBox(drawn(ButtonStyle::Thin3D, QStringLiteral("Save")), red);
    const QRect marked = inkBox(drawn(ButtonStyle::Thin3D, QStringLiteral("&Save")), red);
    QCOMPARE(marked.top(), plain.top());
    QVERIFY(marked.bottom() > plain.bottom());
}

void TestButtonFaceCaption::boldOnlyForStyle5()
{
    // Style 5 draws bold (more ink), and the next look of another style on the
    // same face is back to the font's own weight.
    ButtonFace face;
    prepareRed(face, ButtonStyle::BoldFlat, search);
    drawLook(face, Look::Up);
    const int boldInk = int(inkPixels(face.image(), red).size());
    face.buttonType = ButtonStyle::Thin3D;
    drawLook(face, Look::Up);
    QCOMPARE(face.image(), drawn(ButtonStyle::Thin3D, search));
    QVERIFY(boldInk > inkPixels(face.image(), red).size());
    QVERIFY(!face.font->bold);
}

QTEST_MAIN(TestButtonFaceCaption)
#include "tst_buttonface_caption.moc"
