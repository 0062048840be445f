#include "button/buttonface.h"

#include <algorithm>
#include <array>

namespace dialvault {

ButtonFace::ButtonFace()
    : BackColor(systemColour(15))
    , ForeColor(systemColour(18))
    , font(std::make_shared<FontObject>())
{
    BuildPalette();
}

void ButtonFace::setSize(int w, int h)
{
    W = w;
    H = h;
    fullRect = {0, 0, w, h};
    shiftedRect = {2, 2, w, h};
    focusRect = {4, 4, w - 4, h - 4};
    surface_ = QImage(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
    // A new image holds whatever memory it got; start it as a plain face.
    surface_.fill(toQRgb(FaceColor));
}

void ButtonFace::BuildPalette()
{
    switch (ColorScheme) {
    case 2: // CustomColors
        TextColor = ForeColor;
        FaceColor = BackColor;
        ShadowColor = ShiftColor(BackColor, -64, false);
        LightColor = ShiftColor(FaceColor, 31, false);
        HighlightColor = ShiftColor(FaceColor, 47, false);
        DarkShadowColor = ShiftColor(FaceColor, -192, false);
        break;
    case 3: // FixedGrey
        TextColor = 0x000000;
        FaceColor = 0xC0C0C0;
        ShadowColor = 0x808080;
        LightColor = 0xDFDFDF;
        HighlightColor = 0xFFFFFF;
        DarkShadowColor = 0x000000;
        break;
    default: // SystemColors
        FaceColor = systemColour(15);
        ShadowColor = systemColour(16);
        LightColor = systemColour(22);
        DarkShadowColor = systemColour(21);
        HighlightColor = systemColour(20);
        TextColor = systemColour(18);
        break;
    }
}

QRegion ButtonFace::BuildRegion()
{
    QRegion shape(0, 0, std::max(W, 0), std::max(H, 0));
    const auto clip = [&shape](int x, int y) { shape -= QRegion(x, y, 1, 1); };
    switch (ButtonType) {
    case 1: // DoubleBevel: the four corner pixels
        clip(0, 0);
        clip(W - 1, 0);
        clip(0, H - 1);
        clip(W - 1, H - 1);
        break;
    case 3: // Gradient
    case 4: // Rounded: each corner pixel with its two neighbours
        for (const auto &[x, y, dx, dy] :
             {std::array{0, 0, 1, 1}, std::array{W - 1, 0, -1, 1}, std::array{0, H - 1, 1, -1},
              std::array{W - 1, H - 1, -1, -1}}) {
            clip(x, y);
            clip(x + dx, y);
            clip(x, y + dy);
        }
        break;
    case 5: // BoldFlat: bottom-left and top-right only
        clip(0, H - 1);
        clip(W - 1, 0);
        break;
    default:
        break;
    }
    region = shape;
    return region;
}

void ButtonFace::UpdateAccessKey()
{
    const QChar amp(u'&');
    accessKey = QChar();
    const qsizetype n = Caption.size();
    if (n < 2)
        return;
    const qsizetype p = Caption.indexOf(amp);
    if (p < 0 || p == n - 1)
        return;
    if (Caption.at(p + 1) != amp) {
        accessKey = Caption.at(p + 1).toLower();
        return;
    }
    // "&&" is a literal ampersand: the marker may follow it, and only once more.
    // Without a further "&" there is no key (rather than the caption's first letter).
    const qsizetype q = Caption.indexOf(amp, p + 2);
    if (q < 0 || q == n - 1)
        return;
    if (Caption.at(q + 1) != amp)
        accessKey = Caption.at(q + 1).toLower();
}

void ButtonFace::Redraw(quint8 state, bool force)
{
    if (!force && Caption == lastCaption && state == lastState)
        return;
    if (H == 0)
        return;
    lastState = state;
    lastCaption = Caption;
    drawFocus_ = hasFocus && ShowFocusRect;

    // The face box below covers every pixel, so clearing only has to ask for
    // the repaint.
    if (invalidate)
        invalidate();
    DrawBox(0, 0, W, H, FaceColor, false);

    if (!Enabled) {
        drawLook(Look::Disabled);
        return;
    }
    setTextColour(TextColor);
    if (state == Up)
        drawLook(Look::Released);
    else if (state == Down)
        drawLook(Look::Pressed);
}

void ButtonFace::drawLook(Look look)
{
    switch (ButtonType) {
    case 1:
        drawDoubleBevel(look);
        break;
    case 2:
        drawClassic3D(look);
        break;
    case 3:
        drawGradient(look);
        break;
    case 4:
        drawRounded(look);
        break;
    case 5:
        drawBoldFlat(look);
        break;
    case 6:
        drawSoftShadow(look);
        break;
    case 7:
        drawThin3D(look);
        break;
    default: // an unknown style shows the plain face
        break;
    }
}

void ButtonFace::drawEmbossedCaption()
{
    setTextColour(HighlightColor);
    DrawCaption(shiftedRect);
    setTextColour(ShadowColor);
    DrawCaption(fullRect);
}

void ButtonFace::drawCutOutline(Colour outline, std::optional<Colour> corner)
{
    DrawLine(2, 0, W - 2, 0, outline);
    DrawLine(2, H - 1, W - 2, H - 1, outline);
    DrawLine(0, 2, 0, H - 2, outline);
    DrawLine(W - 1, 2, W - 1, H - 2, outline);
    if (!corner)
        return;
    DrawPixel(1, 1, *corner);
    DrawPixel(1, H - 2, *corner);
    DrawPixel(W - 2, 1, *corner);
    DrawPixel(W - 2, H - 2, *corner);
}

} // namespace dialvault
