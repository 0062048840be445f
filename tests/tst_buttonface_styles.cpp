// The seven looks, pixel by pixel, in the fixed grey scheme:
// Face C0, Shadow 80, Light DF, Hi FF, Dark 00, Text 00 (grey levels).
// Each expectation is worked out by hand from the drawing steps; the comment
// on a row says which step leaves that colour.

#include "tst_buttonface_pixels.h"

#include <QGuiApplication>
#include <QTest>

using namespace dialvault;
using namespace dialvault::testing;

namespace {

QRgb grey(int v)
{
    return qRgb(v, v, v);
}

} // namespace

class TestButtonFaceStyles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void looks_data();
    void looks();
    void gradientRows_data();
    void gradientRows();
    void gradientOneRowHigh();
    void disabledGradientIgnoresState();
    void captionBoxOfEmptyCaption();
    void unknownStylesDrawOnlyTheFace_data();
    void unknownStylesDrawOnlyTheFace();
    void earlyStopAndLastState();
};

void TestButtonFaceStyles::looks_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("look");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<bool>("asDefault");
    QTest::addColumn<bool>("showFocusRect");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QRgb>("expected");

    // All on a 20 x 12 button with an empty caption.
    const auto add = [](const char *name, int type, int look, bool focused, int x, int y, QRgb rgb,
                        bool asDefault = false, bool showFocusRect = true) {
        QTest::addRow("%s", name) << type << look << focused << asDefault << showFocusRect << x << y
                                  << rgb;
    };

    // Style 1: corner-less Dark outline, two Hi frames, Shadow bevel lines
    // (W-2, W-3 columns and H-2, H-3 rows) drawn over the frames.
    add("1 up: outline", 1, Released, false, 5, 0, grey(0x00));
    add("1 up: corner not drawn", 1, Released, false, 19, 11, grey(0xC0));
    add("1 up: outer frame", 1, Released, false, 1, 1, grey(0xFF));
    add("1 up: bevel over frame", 1, Released, false, 18, 5, grey(0x80));
    // Focus (4,4)-(16,8): the first pixel inverted, its neighbour not.
    add("1 up focused: focus first pixel", 1, Released, true, 4, 4, grey(0x3F));
    add("1 up focused: focus gap", 1, Released, true, 5, 4, grey(0xC0));
    add("1 down: frames in Shadow", 1, Pressed, false, 1, 1, grey(0x80));
    add("1 down: bevel in Hi", 1, Pressed, false, 18, 5, grey(0xFF));
    add("1 down focused: focus", 1, Pressed, true, 4, 4, grey(0x3F));
    add("1 disabled: up frames", 1, Disabled, true, 1, 1, grey(0xFF));
    add("1 disabled: no focus", 1, Disabled, true, 4, 4, grey(0xC0));

    // Style 2, plain bevel: Hi frame (0,0,19,11), Light frame, Dark lines at
    // column 19 and row 11, Shadow lines at column 18 and row 10.
    add("2 up: hi frame", 2, Released, false, 0, 0, grey(0xFF));
    add("2 up: light frame", 2, Released, false, 1, 1, grey(0xDF));
    add("2 up: dark right", 2, Released, false, 19, 0, grey(0x00));
    add("2 up: shadow right", 2, Released, false, 18, 5, grey(0x80));
    // Focused but not the default button: still the plain bevel, no focus mark.
    add("2 up focused, not default: no focus", 2, Released, true, 4, 4, grey(0xC0));
    add("2 up focused, not default: plain", 2, Released, true, 0, 0, grey(0xFF));
    // As the default button: the Dark outline comes last and covers (0,0).
    add("2 up default: outline", 2, Released, true, 0, 0, grey(0x00), true);
    add("2 up default: dark bevel", 2, Released, true, 18, 5, grey(0x00), true);
    add("2 up default: shadow bevel", 2, Released, true, 17, 5, grey(0x80), true);
    add("2 up default: focus", 2, Released, true, 4, 4, grey(0x3F), true);
    add("2 down: dark frame", 2, Pressed, true, 19, 11, grey(0x00));
    add("2 down: shadow frame", 2, Pressed, true, 18, 10, grey(0x80));
    add("2 down: focus", 2, Pressed, true, 4, 4, grey(0x3F));
    // Without focus rectangles: Dark frame (0,0,19,11), Hi/Light lines over it.
    add("2 down no rect: dark frame", 2, Pressed, false, 0, 10, grey(0x00), false, false);
    add("2 down no rect: hi corner", 2, Pressed, false, 19, 11, grey(0xFF), false, false);
    add("2 down no rect: light right", 2, Pressed, false, 18, 10, grey(0xDF), false, false);
    add("2 disabled: plain bevel", 2, Disabled, true, 19, 0, grey(0x00), true);
    add("2 disabled: no outline", 2, Disabled, true, 0, 0, grey(0xFF), true);

    // Style 3 on 20 x 12: base = P(C0C0C0, 48) = F0F0F0.
    const QRgb blue = qRgb(0, 60, 115);
    const QRgb corner = qRgb(16, 77, 123);
    add("3 up: top outline", 3, Released, false, 10, 0, blue);
    add("3 up: corner pixel", 3, Released, false, 18, 10, corner);
    add("3 up: row 0 keeps the face", 3, Released, false, 0, 0, grey(0xC0));
    // P(base, -48): red, green 240-48; blue 240 - 240*48/192 = 180.
    add("3 up: bottom bevel", 3, Released, false, 10, 10, qRgb(192, 192, 180));
    // P(base, -36): 204; blue 240 - 45.
    add("3 up: right bevel", 3, Released, false, 18, 5, qRgb(204, 204, 195));
    // P(base, 16): 256 saturates; blue 240 + 20 saturates.
    add("3 up: top bevel", 3, Released, false, 10, 1, qRgb(255, 255, 255));
    // P(base, 10): 250; blue 240 + 2400/192 = 240 + 12.
    // P(base, -5): 235; blue 240 - 1200/192 = 240 - 6 (truncated).
    add("3 up: left bevel", 3, Released, false, 1, 5, qRgb(235, 235, 234));
    add("3 up: inner left bevel", 3, Released, false, 2, 5, qRgb(230, 230, 228));
    // The glow, for focus or for the default button.
    add("3 up focused: glow frame", 3, Released, true, 1, 5, qRgb(0x8C, 0xAE, 0xE7));
    add("3 up focused: glow bottom", 3, Released, true, 10, 10, qRgb(0x6B, 0x82, 0xEF));
    add("3 up focused: glow top", 3, Released, true, 10, 1, qRgb(0xCE, 0xE7, 0xFF));
    add("3 up focused: glow row 2", 3, Released, true, 18, 2, qRgb(0xBD, 0xD7, 0xF7));
    add("3 up focused: glow inner", 3, Released, true, 17, 5, qRgb(0xB5, 0xD1, 0xF0));
    add("3 up default: glow", 3, Released, false, 1, 5, qRgb(0x8C, 0xAE, 0xE7), true);
    add("3 up focused, no rect: bevel", 3, Released, true, 1, 5, qRgb(235, 235, 234), false, false);
    // Down base = P(F0F0F0, -32) = (208, 208, 200); the row bevel is P(base, 16).
    add("3 down: bottom bevel", 3, Pressed, true, 10, 10, qRgb(224, 224, 216));
    // Row H-3: P(base, 10) = 218; blue 200 + 2000/192 = 210.
    add("3 down: second bevel row", 3, Pressed, false, 10, 9, qRgb(218, 218, 210));
    // Column W-3: base itself; no glow in the pressed look.
    add("3 down: inner right", 3, Pressed, true, 17, 5, qRgb(208, 208, 200));
    // Column 2: P(base, -22) = 186; blue 200 - 4400/192 = 200 - 22.
    add("3 down: inner left", 3, Pressed, true, 2, 5, qRgb(186, 186, 178));
    // Row 0, column 0 is the darkest gradient row: i = 12, step 1.25, -15:
    // 193; blue 200 - 3000/192 = 200 - 15.
    add("3 down: top gradient row", 3, Pressed, false, 0, 0, qRgb(193, 193, 185));
    add("3 down: outline", 3, Pressed, false, 19, 5, blue);

    // Style 4: Light face, Dark diagonal outline, Hi top-left, Shadow bottom-right.
    add("4 up: face", 4, Released, false, 10, 5, grey(0xDF));
    add("4 up: outline", 4, Released, false, 5, 0, grey(0x00));
    add("4 up: diagonal corner", 4, Released, false, 1, 1, grey(0x00));
    add("4 up: outside corner", 4, Released, false, 0, 0, grey(0xC0));
    add("4 up: face notch", 4, Released, false, 2, 1, grey(0xC0));
    add("4 up: hi top", 4, Released, false, 5, 2, grey(0xFF));
    add("4 up: shadow right", 4, Released, false, 18, 5, grey(0x80));
    add("4 up: shadow inner corner", 4, Released, false, 17, 9, grey(0x80));
    add("4 up: no focus", 4, Released, true, 4, 4, grey(0xDF));
    // Down: S(Shadow,-16) = 70, S(Shadow,-32) = 60, S(Shadow,-64) = 40.
    add("4 down: face", 4, Pressed, true, 10, 5, grey(0x70));
    add("4 down: outer frame", 4, Pressed, false, 5, 1, grey(0x40));
    add("4 down: corner", 4, Pressed, false, 18, 10, grey(0x00));
    add("4 down: last pixel", 4, Pressed, false, 17, 1, grey(0x70));
    add("4 down: bottom corner", 4, Pressed, false, 17, 10, grey(0x60));
    add("4 disabled: up look", 4, Disabled, false, 18, 5, grey(0x80));

    // Style 5: face S(Face,12) = CC, Hi frame (1,1,19,11), S(Shadow,-26) = 66
    // frame (0,0,19,11), S(Shadow,26) = 9A pixels.
    add("5 up: face", 5, Released, false, 10, 5, grey(0xCC));
    add("5 up: hi frame", 5, Released, false, 19, 5, grey(0xFF));
    add("5 up: dark frame", 5, Released, false, 18, 5, grey(0x66));
    add("5 up: soft pixel", 5, Released, false, 1, 10, grey(0x9A));
    add("5 up: clipped corner", 5, Released, false, 19, 0, grey(0xC0));
    // Down: face S(Shadow,16) = 90 over (1,1,18,10); Hi lines at column 19, row 11.
    add("5 down: face", 5, Pressed, false, 10, 5, grey(0x90));
    add("5 down: dark frame", 5, Pressed, false, 0, 5, grey(0x66));
    add("5 down: hi right", 5, Pressed, false, 19, 11, grey(0xFF));
    add("5 down: clipped corner", 5, Pressed, false, 0, 11, grey(0xC0));
    add("5 disabled: shadow frame", 5, Disabled, false, 19, 11, grey(0x80));
    add("5 disabled: flat face", 5, Disabled, false, 10, 5, grey(0xC0));

    // Style 6: S(Light, 8) = E7 frames, Shadow at right and bottom.
    add("6 up: light frame", 6, Released, false, 1, 1, grey(0xE7));
    add("6 up: shadow right", 6, Released, false, 19, 0, grey(0x80));
    add("6 up: shadow bottom", 6, Released, false, 1, 10, grey(0x80));
    add("6 up focused: focus", 6, Released, true, 4, 4, grey(0x3F));
    add("6 down: shadow frame", 6, Pressed, false, 1, 1, grey(0x80));
    add("6 down: light lines", 6, Pressed, false, 18, 5, grey(0xE7));
    add("6 down focused: focus", 6, Pressed, true, 6, 4, grey(0x3F));
    add("6 disabled: no focus", 6, Disabled, true, 4, 4, grey(0xC0));

    // Style 7: Hi frame, Shadow column 19 and row 11.
    add("7 up: hi frame", 7, Released, false, 5, 0, grey(0xFF));
    add("7 up: shadow corner", 7, Released, false, 19, 0, grey(0x80));
    add("7 up focused: focus", 7, Released, true, 5, 7, grey(0x3F));
    add("7 down: shadow frame", 7, Pressed, false, 5, 0, grey(0x80));
    add("7 down: hi right", 7, Pressed, false, 19, 11, grey(0xFF));
    add("7 down: hi bottom", 7, Pressed, false, 0, 11, grey(0xFF));
    add("7 disabled: shadow right", 7, Disabled, true, 19, 11, grey(0x80));
    add("7 disabled: no focus", 7, Disabled, true, 4, 4, grey(0xC0));
}

void TestButtonFaceStyles::looks()
{
    QFETCH(int, type);
    QFETCH(int, look);
    QFETCH(bool, focused);
    QFETCH(bool, asDefault);
    QFETCH(bool, showFocusRect);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QRgb, expected);

    ButtonFace face;
    prepare(face, type, 20, 12);
    face.hasFocus = focused;
    face.defaultFlag = asDefault;
    face.ShowFocusRect = showFocusRect;
    drawLook(face, look);
    QCOMPARE(pixel(face, x, y), hex(expected));
    QCOMPARE(face.hasFocus, focused); // replaced for the call only
}

void TestButtonFaceStyles::gradientRows_data()
{
    QTest::addColumn<int>("look");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QRgb>("expected");

    // Up, H = 25: step 1.0, row i is P(F0F0F0, -i).
    // Row 3: 237; blue 240 - 720/192 = 240 - 3 (truncated).
    QTest::addRow("up 25 row 3") << int(Released) << 25 << 10 << 3 << qRgb(237, 237, 237);
    // Row 12: 228; blue 240 - 15.
    QTest::addRow("up 25 row 12") << int(Released) << 25 << 10 << 12 << qRgb(228, 228, 225);
    // Row 21: 219; blue 240 - 26.
    QTest::addRow("up 25 row 21") << int(Released) << 25 << 10 << 21 << qRgb(219, 219, 214);
    // Row 24 at a clipped corner pixel (nothing else draws there): -24,
    // 216; blue 240 - 30.
    QTest::addRow("up 25 row 24") << int(Released) << 25 << 0 << 24 << qRgb(216, 216, 210);
    // Up, H = 10: step 2.5, ties round to even. Row 1 (column 0, below the
    // outline's start): -2.5 -> -2: 238; blue 240 - 2.
    QTest::addRow("up 10 row 1 tie") << int(Released) << 10 << 0 << 1 << qRgb(238, 238, 238);
    // Row 3: -7.5 -> -8: 232; blue 240 - 10.
    QTest::addRow("up 10 row 3 tie") << int(Released) << 10 << 10 << 3 << qRgb(232, 232, 230);
    // Down, H = 25: base (208,208,200), step 0.6; row H-i is P(base, nearest(-0.6 i)).
    // Row 10 (i = 15): -9: 199; blue 200 - 1800/192 = 200 - 9.
    QTest::addRow("down 25 row 10") << int(Pressed) << 25 << 10 << 10 << qRgb(199, 199, 191);
    // Row 20 (i = 5): -3: 205; blue 200 - 3.
    QTest::addRow("down 25 row 20") << int(Pressed) << 25 << 10 << 20 << qRgb(205, 205, 197);
    // Row 0 (i = 25): -15: 193; blue 200 - 15.
    QTest::addRow("down 25 row 0") << int(Pressed) << 25 << 0 << 0 << qRgb(193, 193, 185);
}

void TestButtonFaceStyles::gradientRows()
{
    QFETCH(int, look);
    QFETCH(int, h);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QRgb, expected);

    ButtonFace face;
    prepare(face, 3, 20, h);
    drawLook(face, look);
    QCOMPARE(pixel(face, x, y), hex(expected));
}

void TestButtonFaceStyles::gradientOneRowHigh()
{
    // H = 1: the only gradient line (row 1) is outside, and the vertical
    // outline and bevel lines run upward from row 2 or 3 through row 0.
    ButtonFace face;
    prepare(face, 3, 10, 1);
    drawLook(face, Released);
    const QRgb blue = qRgb(0, 60, 115);
    // Columns 0 to 9 of row 0:
    //   0, 9  the side outlines, Line(0, 2 -> 0, -1) and Line(9, 2 -> 9, -1)
    //   1     Line(1, 2 -> 1, -1) in P(base, -5)
    //   2     Line(2, 3 -> 2, -2) in P(base, -10)
    //   3..6  the top outline (it covers 2..7; columns 2 and 7 are drawn over)
    //   7     Line(7, 3 -> 7, -2) in P(base, -24)
    //   8     Line(8, 2 -> 8, -1) in P(base, -36)
    const QRgb expected[10] = {blue, qRgb(235, 235, 234), qRgb(230, 230, 228), blue, blue, blue,
                               blue, qRgb(216, 216, 210), qRgb(204, 204, 195), blue};
    for (int x = 0; x < 10; ++x)
        QCOMPARE(pixel(face, x, 0), hex(expected[x]));
}

void TestButtonFaceStyles::disabledGradientIgnoresState()
{
    // base F0F0F0. Face P(base,-24) = (216,216,210); outline P(base,-84):
    // 156, blue 240 - 105; corners P(base,-72): 168, blue 240 - 90;
    // caption P(base,-104): 136, blue 240 - 130.
    for (const quint8 state : {quint8(ButtonFace::Up), quint8(ButtonFace::Down)}) {
        ButtonFace face;
        prepare(face, 3, 93, 25);
        face.Caption = QStringLiteral("جستجو");
        face.Enabled = false;
        face.hasFocus = true;
        face.Redraw(state, true);
        QCOMPARE(pixel(face, 0, 0), hex(qRgb(216, 216, 210)));
        QCOMPARE(pixel(face, 3, 3), hex(qRgb(216, 216, 210)));
        QCOMPARE(pixel(face, 91, 3), hex(qRgb(216, 216, 210))); // no bevel or glow
        QCOMPARE(pixel(face, 40, 0), hex(qRgb(156, 156, 135)));
        QCOMPARE(pixel(face, 92, 12), hex(qRgb(156, 156, 135)));
        QCOMPARE(pixel(face, 91, 23), hex(qRgb(168, 168, 150)));
        QVERIFY(!inkBox(face.surface(), qRgb(136, 136, 110)).isEmpty());
    }
}

void TestButtonFaceStyles::captionBoxOfEmptyCaption()
{
    // Width 0: the box is nearest(93 - 0) / 2 - 3 = 43 to 43 + 6, columns 43..48.
    ButtonFace face;
    prepare(face, 5, 93, 25);
    face.hasFocus = true;
    drawLook(face, Released);
    const QRect box = inkBox(face.surface(), qRgb(153, 153, 204));
    QCOMPARE(box.left(), 43);
    QCOMPARE(box.right(), 48);

    face.hasFocus = false;
    face.Redraw(ButtonFace::Up, true);
    QVERIFY(inkBox(face.surface(), qRgb(153, 153, 204)).isEmpty());
}

void TestButtonFaceStyles::unknownStylesDrawOnlyTheFace_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("state");
    QTest::addRow("type 0") << 0 << int(ButtonFace::Up);
    QTest::addRow("type 8") << 8 << int(ButtonFace::Down);
    QTest::addRow("negative type") << -3 << int(ButtonFace::Up);
    QTest::addRow("style 1, state 1") << 1 << 1;
}

void TestButtonFaceStyles::unknownStylesDrawOnlyTheFace()
{
    QFETCH(int, type);
    QFETCH(int, state);
    ButtonFace face;
    face.BackColor = 0x336699; // red 99, green 66, blue 33
    prepare(face, type, 30, 12, 2);
    face.Caption = QStringLiteral("جستجو");
    face.hasFocus = true;
    face.Redraw(quint8(state), true);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 30; ++x)
            QCOMPARE(pixel(face, x, y), hex(qRgb(0x99, 0x66, 0x33)));
}

void TestButtonFaceStyles::earlyStopAndLastState()
{
    ButtonFace face;
    prepare(face, 7, 20, 12);
    int repaints = 0;
    face.invalidate = [&repaints] { ++repaints; };

    face.Redraw(ButtonFace::Up, true);
    QCOMPARE(repaints, 1);
    QCOMPARE(pixel(face, 19, 0), hex(grey(0x80)));

    // Same state and caption, not forced: nothing is drawn, even though the
    // palette changed.
    face.ShadowColor = 0x0000FF;
    face.Redraw(ButtonFace::Up);
    QCOMPARE(repaints, 1);
    QCOMPARE(pixel(face, 19, 0), hex(grey(0x80)));

    // A new caption draws.
    face.Caption = QStringLiteral("x");
    face.Redraw(ButtonFace::Up);
    QCOMPARE(repaints, 2);
    QCOMPARE(face.lastCaption, QStringLiteral("x"));
    QCOMPARE(pixel(face, 19, 0), hex(qRgb(255, 0, 0)));

    // A disabled button still records the state.
    face.Enabled = false;
    face.Redraw(ButtonFace::Down);
    QCOMPARE(face.lastState, quint8(ButtonFace::Down));

    // H = 0: nothing drawn, and the last state is kept.
    face.setSize(20, 0);
    face.Redraw(ButtonFace::Up, true);
    QCOMPARE(face.lastState, quint8(ButtonFace::Down));
    QCOMPARE(repaints, 3);
}

QTEST_MAIN(TestButtonFaceStyles)
#include "tst_buttonface_styles.moc"
