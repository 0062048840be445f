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
    QTest::addColumn<ButtonStyle>("type");
    QTest::addColumn<Look>("look");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<bool>("asDefault");
    QTest::addColumn<bool>("showFocusRect");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QRgb>("expected");

    // All on a 20 x 12 button with an empty caption.
    using enum ButtonStyle;
    using enum Look;
    const auto add = [](const char *name, ButtonStyle type, Look look, bool focused, int x, int y,
                        QRgb rgb, bool asDefault = false, bool showFocusRect = true) {
        QTest::addRow("%s", name) << type << look << focused << asDefault << showFocusRect << x << y
                                  << rgb;
    };

    // Style 1: corner-less Dark outline, two Hi frames, Shadow bevel lines
    // (W-2, W-3 columns and H-2, H-3 rows) drawn over the frames.
    add("1 up: outline", DoubleBevel, Up, false, 5, 0, grey(0x00));
    add("1 up: corner not drawn", DoubleBevel, Up, false, 19, 11, grey(0xC0));
    add("1 up: outer frame", DoubleBevel, Up, false, 1, 1, grey(0xFF));
    add("1 up: bevel over frame", DoubleBevel, Up, false, 18, 5, grey(0x80));
    // Focus (4,4)-(16,8): the first pixel inverted, its neighbour not.
    add("1 up focused: focus first pixel", DoubleBevel, Up, true, 4, 4, grey(0x3F));
    add("1 up focused: focus gap", DoubleBevel, Up, true, 5, 4, grey(0xC0));
    add("1 down: frames in Shadow", DoubleBevel, Down, false, 1, 1, grey(0x80));
    add("1 down: bevel in Hi", DoubleBevel, Down, false, 18, 5, grey(0xFF));
    add("1 down focused: focus", DoubleBevel, Down, true, 4, 4, grey(0x3F));
    add("1 disabled: up frames", DoubleBevel, Disabled, true, 1, 1, grey(0xFF));
    add("1 disabled: no focus", DoubleBevel, Disabled, true, 4, 4, grey(0xC0));
    // Each remaining step of style 1 leaves its colour somewhere.
    add("1 up: bottom outline", DoubleBevel, Up, false, 10, 11, grey(0x00));
    add("1 up: left outline", DoubleBevel, Up, false, 0, 5, grey(0x00));
    add("1 up: right outline", DoubleBevel, Up, false, 19, 5, grey(0x00));
    add("1 up: inner frame", DoubleBevel, Up, false, 10, 2, grey(0xFF));
    add("1 up: inner bevel column", DoubleBevel, Up, false, 17, 5, grey(0x80));
    add("1 up: bevel row", DoubleBevel, Up, false, 10, 10, grey(0x80));
    add("1 up: inner bevel row", DoubleBevel, Up, false, 10, 9, grey(0x80));

    // Style 2, plain bevel: Hi frame (0,0,19,11), Light frame, Dark lines at
    // column 19 and row 11, Shadow lines at column 18 and row 10.
    add("2 up: hi frame", Classic3D, Up, false, 0, 0, grey(0xFF));
    add("2 up: light frame", Classic3D, Up, false, 1, 1, grey(0xDF));
    add("2 up: dark right", Classic3D, Up, false, 19, 0, grey(0x00));
    add("2 up: shadow right", Classic3D, Up, false, 18, 5, grey(0x80));
    // Focused but not the default button: still the plain bevel, no focus mark.
    add("2 up focused, not default: no focus", Classic3D, Up, true, 4, 4, grey(0xC0));
    add("2 up focused, not default: plain", Classic3D, Up, true, 0, 0, grey(0xFF));
    // As the default button: the Dark outline comes last and covers (0,0).
    add("2 up default: outline", Classic3D, Up, true, 0, 0, grey(0x00), true);
    add("2 up default: dark bevel", Classic3D, Up, true, 18, 5, grey(0x00), true);
    add("2 up default: shadow bevel", Classic3D, Up, true, 17, 5, grey(0x80), true);
    add("2 up default: focus", Classic3D, Up, true, 4, 4, grey(0x3F), true);
    add("2 down: dark frame", Classic3D, Down, true, 19, 11, grey(0x00));
    add("2 down: shadow frame", Classic3D, Down, true, 18, 10, grey(0x80));
    add("2 down: focus", Classic3D, Down, true, 4, 4, grey(0x3F));
    // Without focus rectangles: Dark frame (0,0,19,11), Hi/Light lines over it.
    add("2 down no rect: dark frame", Classic3D, Down, false, 0, 10, grey(0x00), false, false);
    add("2 down no rect: hi corner", Classic3D, Down, false, 19, 11, grey(0xFF), false, false);
    add("2 down no rect: light right", Classic3D, Down, false, 18, 10, grey(0xDF), false, false);
    add("2 disabled: plain bevel", Classic3D, Disabled, true, 19, 0, grey(0x00), true);
    add("2 disabled: no outline", Classic3D, Disabled, true, 0, 0, grey(0xFF), true);
    // The default button's bevel inside its outline.
    add("2 up default: hi frame", Classic3D, Up, false, 1, 1, grey(0xFF), true);
    add("2 up default: light frame", Classic3D, Up, false, 2, 2, grey(0xDF), true);
    add("2 up default: dark row", Classic3D, Up, false, 1, 10, grey(0x00), true);
    add("2 up default: shadow row", Classic3D, Up, false, 2, 9, grey(0x80), true);
    add("2 down no rect: shadow frame", Classic3D, Down, false, 1, 1, grey(0x80), false, false);
    add("2 down no rect: hi bottom", Classic3D, Down, false, 5, 11, grey(0xFF), false, false);
    add("2 down no rect: light bottom", Classic3D, Down, false, 5, 10, grey(0xDF), false, false);
    add("2 up: dark bottom", Classic3D, Up, false, 10, 11, grey(0x00));
    add("2 up: shadow bottom", Classic3D, Up, false, 10, 10, grey(0x80));

    // Style 3 on 20 x 12: base = P(C0C0C0, 48) = F0F0F0.
    const QRgb blue = qRgb(0, 60, 115);
    const QRgb corner = qRgb(16, 77, 123);
    add("3 up: top outline", Gradient, Up, false, 10, 0, blue);
    add("3 up: corner pixel", Gradient, Up, false, 18, 10, corner);
    add("3 up: row 0 keeps the face", Gradient, Up, false, 0, 0, grey(0xC0));
    // P(base, -48): red, green 240-48; blue 240 - 240*48/192 = 180.
    add("3 up: bottom bevel", Gradient, Up, false, 10, 10, qRgb(192, 192, 180));
    // P(base, -36): 204; blue 240 - 45.
    add("3 up: right bevel", Gradient, Up, false, 18, 5, qRgb(204, 204, 195));
    // P(base, 16): 256 saturates; blue 240 + 20 saturates.
    add("3 up: top bevel", Gradient, Up, false, 10, 1, qRgb(255, 255, 255));
    // P(base, 10): 250; blue 240 + 2400/192 = 240 + 12.
    add("3 up: second top bevel row", Gradient, Up, false, 10, 2, qRgb(250, 250, 252));
    // P(base, -5): 235; blue 240 - 1200/192 = 240 - 6 (truncated).
    add("3 up: left bevel", Gradient, Up, false, 1, 5, qRgb(235, 235, 234));
    add("3 up: inner left bevel", Gradient, Up, false, 2, 5, qRgb(230, 230, 228));
    // The glow, for focus or for the default button.
    add("3 up focused: glow frame", Gradient, Up, true, 1, 5, qRgb(0x8C, 0xAE, 0xE7));
    add("3 up focused: glow bottom", Gradient, Up, true, 10, 10, qRgb(0x6B, 0x82, 0xEF));
    add("3 up focused: glow top", Gradient, Up, true, 10, 1, qRgb(0xCE, 0xE7, 0xFF));
    add("3 up focused: glow row 2", Gradient, Up, true, 18, 2, qRgb(0xBD, 0xD7, 0xF7));
    add("3 up focused: glow inner", Gradient, Up, true, 17, 5, qRgb(0xB5, 0xD1, 0xF0));
    add("3 up focused: glow inner left", Gradient, Up, true, 2, 5, qRgb(0xB5, 0xD1, 0xF0));
    // P(base, -32): 208; blue 240 - 40.
    add("3 up: second bottom bevel row", Gradient, Up, false, 10, 9, qRgb(208, 208, 200));
    add("3 up: bottom outline", Gradient, Up, false, 10, 11, blue);
    add("3 up: bottom-left corner pixel", Gradient, Up, false, 1, 10, corner);
    add("3 up: top-right corner pixel", Gradient, Up, false, 18, 1, corner);
    add("3 up default: glow", Gradient, Up, false, 1, 5, qRgb(0x8C, 0xAE, 0xE7), true);
    add("3 up focused, no rect: bevel", Gradient, Up, true, 1, 5, qRgb(235, 235, 234), false,
        false);
    // Down base = P(F0F0F0, -32) = (208, 208, 200); the row bevel is P(base, 16).
    add("3 down: bottom bevel", Gradient, Down, true, 10, 10, qRgb(224, 224, 216));
    // Row H-3: P(base, 10) = 218; blue 200 + 2000/192 = 210.
    add("3 down: second bevel row", Gradient, Down, false, 10, 9, qRgb(218, 218, 210));
    // Column W-3: base itself; no glow in the pressed look.
    add("3 down: inner right", Gradient, Down, true, 17, 5, qRgb(208, 208, 200));
    // Column 2: P(base, -22) = 186; blue 200 - 4400/192 = 200 - 22.
    add("3 down: inner left", Gradient, Down, true, 2, 5, qRgb(186, 186, 178));
    // Row 0, column 0 is the darkest gradient row: i = 12, step 1.25, -15:
    // 193; blue 200 - 3000/192 = 200 - 15.
    add("3 down: top gradient row", Gradient, Down, false, 0, 0, qRgb(193, 193, 185));
    add("3 down: outline", Gradient, Down, false, 19, 5, blue);
    // Down base (208,208,200). P(base, 5): 213; blue 200 + 1000/192 = 200 + 5.
    add("3 down: right bevel", Gradient, Down, false, 18, 5, qRgb(213, 213, 205));
    // P(base, -32): 176; blue 200 - 6400/192 = 200 - 33. P(base, -24): 184; blue 200 - 25.
    add("3 down: top bevel", Gradient, Down, false, 10, 1, qRgb(176, 176, 167));
    add("3 down: second top bevel row", Gradient, Down, false, 10, 2, qRgb(184, 184, 175));
    add("3 down: left bevel", Gradient, Down, false, 1, 5, qRgb(176, 176, 167));

    // Style 4: Light face, Dark diagonal outline, Hi top-left, Shadow bottom-right.
    add("4 up: face", Rounded, Up, false, 10, 5, grey(0xDF));
    add("4 up: outline", Rounded, Up, false, 5, 0, grey(0x00));
    add("4 up: diagonal corner", Rounded, Up, false, 1, 1, grey(0x00));
    add("4 up: outside corner", Rounded, Up, false, 0, 0, grey(0xC0));
    add("4 up: face notch", Rounded, Up, false, 2, 1, grey(0xC0));
    add("4 up: hi top", Rounded, Up, false, 5, 2, grey(0xFF));
    add("4 up: shadow right", Rounded, Up, false, 18, 5, grey(0x80));
    add("4 up: shadow inner corner", Rounded, Up, false, 17, 9, grey(0x80));
    add("4 up: no focus", Rounded, Up, true, 4, 4, grey(0xDF));
    // Down: S(Shadow,-16) = 70, S(Shadow,-32) = 60, S(Shadow,-64) = 40.
    add("4 down: face", Rounded, Down, true, 10, 5, grey(0x70));
    add("4 down: outer frame", Rounded, Down, false, 5, 1, grey(0x40));
    add("4 down: corner", Rounded, Down, false, 18, 10, grey(0x00));
    add("4 down: last pixel", Rounded, Down, false, 17, 1, grey(0x70));
    add("4 down: bottom corner", Rounded, Down, false, 17, 10, grey(0x60));
    add("4 disabled: up look", Rounded, Disabled, false, 18, 5, grey(0x80));
    // Every other step of the released look: Face notches and lines, Hi
    // lines, Light pixels, the Shadow bottom.
    add("4 up: left notch", Rounded, Up, false, 1, 2, grey(0xC0));
    add("4 up: hi left", Rounded, Up, false, 2, 5, grey(0xFF));
    add("4 up: hi inner corner", Rounded, Up, false, 3, 3, grey(0xFF));
    add("4 up: face column", Rounded, Up, false, 17, 5, grey(0xC0));
    add("4 up: face row", Rounded, Up, false, 10, 9, grey(0xC0));
    add("4 up: face inner corner", Rounded, Up, false, 16, 8, grey(0xC0));
    add("4 up: shadow bottom", Rounded, Up, false, 10, 10, grey(0x80));
    add("4 up: bottom-left face pixel", Rounded, Up, false, 2, 10, grey(0xC0));
    add("4 up: bottom-left light pixel", Rounded, Up, false, 2, 9, grey(0xDF));
    add("4 up: top-right face pixel", Rounded, Up, false, 18, 2, grey(0xC0));
    add("4 up: top-right light pixel", Rounded, Up, false, 17, 2, grey(0xDF));
    // And of the pressed look: 40, 60 and 70 as above, Shadow, Dark.
    add("4 down: inner frame", Rounded, Down, false, 10, 2, grey(0x60));
    add("4 down: inner corner", Rounded, Down, false, 2, 2, grey(0x40));
    add("4 down: inner corner step", Rounded, Down, false, 3, 3, grey(0x60));
    add("4 down: top-left dark", Rounded, Down, false, 1, 1, grey(0x00));
    add("4 down: bottom-left dark", Rounded, Down, false, 1, 10, grey(0x00));
    add("4 down: top-right dark", Rounded, Down, false, 18, 1, grey(0x00));
    add("4 down: shadow column", Rounded, Down, false, 17, 5, grey(0x80));
    add("4 down: shadow row", Rounded, Down, false, 10, 9, grey(0x80));
    add("4 down: shadow inner corner", Rounded, Down, false, 16, 8, grey(0x80));
    add("4 down: soft right", Rounded, Down, false, 18, 5, grey(0x70));
    add("4 down: soft bottom", Rounded, Down, false, 10, 10, grey(0x70));
    add("4 down: right pixel above the corner", Rounded, Down, false, 18, 9, grey(0x60));
    add("4 down: bottom-left pixel", Rounded, Down, false, 2, 10, grey(0x60));
    add("4 down: bottom-left soft pixel", Rounded, Down, false, 2, 9, grey(0x70));
    add("4 down: left soft pixel", Rounded, Down, false, 1, 9, grey(0x70));
    add("4 down: top-right pixel", Rounded, Down, false, 18, 2, grey(0x60));
    add("4 down: top-right soft pixel", Rounded, Down, false, 17, 2, grey(0x70));

    // Style 5: face S(Face,12) = CC, Hi frame (1,1,19,11), S(Shadow,-26) = 66
    // frame (0,0,19,11), S(Shadow,26) = 9A pixels.
    add("5 up: face", BoldFlat, Up, false, 10, 5, grey(0xCC));
    add("5 up: hi frame", BoldFlat, Up, false, 19, 5, grey(0xFF));
    add("5 up: dark frame", BoldFlat, Up, false, 18, 5, grey(0x66));
    add("5 up: soft pixel", BoldFlat, Up, false, 1, 10, grey(0x9A));
    add("5 up: clipped corner", BoldFlat, Up, false, 19, 0, grey(0xC0));
    // Down: face S(Shadow,16) = 90 over (1,1,18,10); Hi lines at column 19, row 11.
    add("5 down: face", BoldFlat, Down, false, 10, 5, grey(0x90));
    add("5 down: dark frame", BoldFlat, Down, false, 0, 5, grey(0x66));
    add("5 down: hi right", BoldFlat, Down, false, 19, 11, grey(0xFF));
    add("5 down: clipped corner", BoldFlat, Down, false, 0, 11, grey(0xC0));
    add("5 disabled: shadow frame", BoldFlat, Disabled, false, 19, 11, grey(0x80));
    add("5 disabled: flat face", BoldFlat, Disabled, false, 10, 5, grey(0xC0));
    add("5 up: top-right soft pixel", BoldFlat, Up, false, 18, 1, grey(0x9A));
    add("5 down: hi bottom", BoldFlat, Down, false, 10, 11, grey(0xFF));

    // Style 6: S(Light, 8) = E7 frames, Shadow at right and bottom.
    add("6 up: light frame", SoftShadow, Up, false, 1, 1, grey(0xE7));
    add("6 up: shadow right", SoftShadow, Up, false, 19, 0, grey(0x80));
    add("6 up: shadow bottom", SoftShadow, Up, false, 1, 10, grey(0x80));
    add("6 up focused: focus", SoftShadow, Up, true, 4, 4, grey(0x3F));
    add("6 down: shadow frame", SoftShadow, Down, false, 1, 1, grey(0x80));
    add("6 down: light lines", SoftShadow, Down, false, 18, 5, grey(0xE7));
    add("6 down focused: focus", SoftShadow, Down, true, 6, 4, grey(0x3F));
    add("6 disabled: no focus", SoftShadow, Disabled, true, 4, 4, grey(0xC0));
    add("6 up: light top", SoftShadow, Up, false, 10, 0, grey(0xE7));
    add("6 up: shadow bottom row", SoftShadow, Up, false, 10, 11, grey(0x80));

    // Style 7: Hi frame, Shadow column 19 and row 11.
    add("7 up: hi frame", Thin3D, Up, false, 5, 0, grey(0xFF));
    add("7 up: shadow corner", Thin3D, Up, false, 19, 0, grey(0x80));
    add("7 up focused: focus", Thin3D, Up, true, 5, 7, grey(0x3F));
    add("7 down: shadow frame", Thin3D, Down, false, 5, 0, grey(0x80));
    add("7 down: hi right", Thin3D, Down, false, 19, 11, grey(0xFF));
    add("7 down: hi bottom", Thin3D, Down, false, 0, 11, grey(0xFF));
    add("7 disabled: shadow right", Thin3D, Disabled, true, 19, 11, grey(0x80));
    add("7 disabled: no focus", Thin3D, Disabled, true, 4, 4, grey(0xC0));
    add("7 up: shadow bottom", Thin3D, Up, false, 10, 11, grey(0x80));
    add("7 disabled: hi top", Thin3D, Disabled, false, 10, 0, grey(0xFF));
    add("7 disabled: shadow bottom", Thin3D, Disabled, false, 10, 11, grey(0x80));
}

void TestButtonFaceStyles::looks()
{
    QFETCH(ButtonStyle, type);
    QFETCH(Look, look);
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
    face.showFocusRect = showFocusRect;
    drawLook(face, look);
    QCOMPARE(pixel(face, x, y), hex(expected));
    QCOMPARE(face.hasFocus, focused); // replaced for the call only
}

void TestButtonFaceStyles::gradientRows_data()
{
    QTest::addColumn<Look>("look");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QRgb>("expected");

    // Up, H = 25: step 1.0, row i is P(F0F0F0, -i).
    // Row 3: 237; blue 240 - 720/192 = 240 - 3 (truncated).
    QTest::addRow("up 25 row 3") << Look::Up << 25 << 10 << 3 << qRgb(237, 237, 237);
    // Row 12: 228; blue 240 - 15.
    QTest::addRow("up 25 row 12") << Look::Up << 25 << 10 << 12 << qRgb(228, 228, 225);
    // Row 21: 219; blue 240 - 26.
    QTest::addRow("up 25 row 21") << Look::Up << 25 << 10 << 21 << qRgb(219, 219, 214);
    // Row 24 at a clipped corner pixel (nothing else draws there): -24,
    // 216; blue 240 - 30.
    QTest::addRow("up 25 row 24") << Look::Up << 25 << 0 << 24 << qRgb(216, 216, 210);
    // Up, H = 10: step 2.5, ties round to even. Row 1 (column 0, below the
    // outline's start): -2.5 -> -2: 238; blue 240 - 2.
    QTest::addRow("up 10 row 1 tie") << Look::Up << 10 << 0 << 1 << qRgb(238, 238, 238);
    // Row 3: -7.5 -> -8: 232; blue 240 - 10.
    QTest::addRow("up 10 row 3 tie") << Look::Up << 10 << 10 << 3 << qRgb(232, 232, 230);
    // Down, H = 25: base (208,208,200), step 0.6; row H-i is P(base, nearest(-0.6 i)).
    // Row 10 (i = 15): -9: 199; blue 200 - 1800/192 = 200 - 9.
    QTest::addRow("down 25 row 10") << Look::Down << 25 << 10 << 10 << qRgb(199, 199, 191);
    // Row 20 (i = 5): -3: 205; blue 200 - 3.
    QTest::addRow("down 25 row 20") << Look::Down << 25 << 10 << 20 << qRgb(205, 205, 197);
    // Row 0 (i = 25): -15: 193; blue 200 - 15.
    QTest::addRow("down 25 row 0") << Look::Down << 25 << 0 << 0 << qRgb(193, 193, 185);
}

void TestButtonFaceStyles::gradientRows()
{
    QFETCH(Look, look);
    QFETCH(int, h);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QRgb, expected);

    ButtonFace face;
    prepare(face, ButtonStyle::Gradient, 20, h);
    drawLook(face, look);
    QCOMPARE(pixel(face, x, y), hex(expected));
}

void TestButtonFaceStyles::gradientOneRowHigh()
{
    // H = 1: the only gradient line (row 1) is outside, and the vertical
    // outline and bevel lines run upward from row 2 or 3 through row 0.
    ButtonFace face;
    prepare(face, ButtonStyle::Gradient, 10, 1);
    drawLook(face, Look::Up);
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
    for (const Look state : {Look::Up, Look::Down}) {
        ButtonFace face;
        prepare(face, ButtonStyle::Gradient, 93, 25);
        face.caption = QStringLiteral("جستجو");
        face.enabled = false;
        face.hasFocus = true;
        face.redraw(state, true);
        QCOMPARE(pixel(face, 0, 0), hex(qRgb(216, 216, 210)));
        QCOMPARE(pixel(face, 3, 3), hex(qRgb(216, 216, 210)));
        QCOMPARE(pixel(face, 91, 3), hex(qRgb(216, 216, 210))); // no bevel or glow
        QCOMPARE(pixel(face, 40, 0), hex(qRgb(156, 156, 135)));
        QCOMPARE(pixel(face, 92, 12), hex(qRgb(156, 156, 135)));
        QCOMPARE(pixel(face, 91, 23), hex(qRgb(168, 168, 150)));
        QVERIFY(!inkBox(face.image(), qRgb(136, 136, 110)).isEmpty());
    }
}

void TestButtonFaceStyles::captionBoxOfEmptyCaption()
{
    // Width 0: the box is nearest(93 - 0) / 2 - 3 = 43 to 43 + 6, columns 43..48.
    ButtonFace face;
    prepare(face, ButtonStyle::BoldFlat, 93, 25);
    face.hasFocus = true;
    drawLook(face, Look::Up);
    const QRect box = inkBox(face.image(), qRgb(153, 153, 204));
    QCOMPARE(box.left(), 43);
    QCOMPARE(box.right(), 48);

    face.hasFocus = false;
    face.redraw(Look::Up, true);
    QVERIFY(inkBox(face.image(), qRgb(153, 153, 204)).isEmpty());
}

void TestButtonFaceStyles::unknownStylesDrawOnlyTheFace_data()
{
    QTest::addColumn<ButtonStyle>("type");
    QTest::addColumn<Look>("state");
    QTest::addRow("type 0") << ButtonStyle(0) << Look::Up;
    QTest::addRow("type 8") << ButtonStyle(8) << Look::Down;
    QTest::addRow("negative type") << ButtonStyle(-3) << Look::Up;
    QTest::addRow("style 1, state 1") << ButtonStyle::DoubleBevel << Look(1);
    // Disabled is drawn for a disabled button, never asked for by an enabled one.
    QTest::addRow("style 1, asked for Disabled") << ButtonStyle::DoubleBevel << Look::Disabled;
}

void TestButtonFaceStyles::unknownStylesDrawOnlyTheFace()
{
    QFETCH(ButtonStyle, type);
    QFETCH(Look, state);
    ButtonFace face;
    face.backColour = 0x336699; // red 99, green 66, blue 33
    prepare(face, type, 30, 12, ColourScheme::CustomColors);
    face.caption = QStringLiteral("جستجو");
    face.hasFocus = true;
    face.redraw(state, true);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 30; ++x)
            QCOMPARE(pixel(face, x, y), hex(qRgb(0x99, 0x66, 0x33)));
}

void TestButtonFaceStyles::earlyStopAndLastState()
{
    ButtonFace face;
    prepare(face, ButtonStyle::Thin3D, 20, 12);
    int repaints = 0;
    face.invalidate = [&repaints] { ++repaints; };

    face.redraw(Look::Up, true);
    QCOMPARE(repaints, 1);
    QCOMPARE(pixel(face, 19, 0), hex(grey(0x80)));

    // Same state and caption, not forced: nothing is drawn, even though the
    // palette changed.
    face.shadowColour = 0x0000FF;
    face.redraw(Look::Up);
    QCOMPARE(repaints, 1);
    QCOMPARE(pixel(face, 19, 0), hex(grey(0x80)));

    // A new caption draws.
    face.caption = QStringLiteral("x");
    face.redraw(Look::Up);
    QCOMPARE(repaints, 2);
    QCOMPARE(face.lastCaption, QStringLiteral("x"));
    QCOMPARE(pixel(face, 19, 0), hex(qRgb(255, 0, 0)));

    // A disabled button still records the state.
    face.enabled = false;
    face.redraw(Look::Down);
    QCOMPARE(face.lastState, Look::Down);

    // H = 0: nothing drawn, and the last state is kept.
    face.setSize(20, 0);
    face.redraw(Look::Up, true);
    QCOMPARE(face.lastState, Look::Down);
    QCOMPARE(repaints, 3);
}

QTEST_MAIN(TestButtonFaceStyles)
#include "tst_buttonface_styles.moc"
