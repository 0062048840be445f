#include "button/buttonface.h"

#include "button/buttonstyles.h"

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
    surface_.resize(w, h, FaceColor);
}

void ButtonFace::BuildPalette()
{
    switch (ColorScheme) {
    case ColourScheme::CustomColors:
        TextColor = ForeColor;
        FaceColor = BackColor;
        ShadowColor = ShiftColor(BackColor, -64, false);
        LightColor = ShiftColor(FaceColor, 31, false);
        HighlightColor = ShiftColor(FaceColor, 47, false);
        DarkShadowColor = ShiftColor(FaceColor, -192, false);
        break;
    case ColourScheme::FixedGrey:
        TextColor = 0x000000;
        FaceColor = 0xC0C0C0;
        ShadowColor = 0x808080;
        LightColor = 0xDFDFDF;
        HighlightColor = 0xFFFFFF;
        DarkShadowColor = 0x000000;
        break;
    default: // SystemColors, and any value stored that names no scheme
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
    case ButtonStyle::DoubleBevel: // the four corner pixels
        clip(0, 0);
        clip(W - 1, 0);
        clip(0, H - 1);
        clip(W - 1, H - 1);
        break;
    case ButtonStyle::Gradient:
    case ButtonStyle::Rounded: // each corner pixel with its two neighbours
        for (const auto &[x, y, dx, dy] :
             {std::array{0, 0, 1, 1}, std::array{W - 1, 0, -1, 1}, std::array{0, H - 1, 1, -1},
              std::array{W - 1, H - 1, -1, -1}}) {
            clip(x, y);
            clip(x + dx, y);
            clip(x, y + dy);
        }
        break;
    case ButtonStyle::BoldFlat: // bottom-left and top-right only
        clip(0, H - 1);
        clip(W - 1, 0);
        break;
    default: // the other styles, and unknown ones, keep the rectangle
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

void ButtonFace::Redraw(Look state, bool force)
{
    if (!force && Caption == lastCaption && state == lastState)
        return;
    if (H == 0)
        return;
    lastState = state;
    lastCaption = Caption;

    // The face box below covers every pixel, so clearing only has to ask for
    // the repaint.
    if (invalidate)
        invalidate();
    draw();
}

// Kept apart from Redraw, so that its early stop, which every mouse move
// reaches, stays a few instructions.
void ButtonFace::draw()
{
    surface_.DrawBox(0, 0, W, H, FaceColor, false);
    if (!Enabled) {
        drawStyle(Look::Disabled);
        return;
    }
    surface_.setTextColour(TextColor);
    if (lastState == Look::Up || lastState == Look::Down)
        drawStyle(lastState);
}

void ButtonFace::drawStyle(Look look)
{
    // The font object is shared with the host, which may have changed it.
    surface_.setCaption(Caption);
    surface_.setFont(font->toQFont());
    // The focus shows only where the button allows it, for this drawing alone.
    const StyleContext context{*this, surface_, hasFocus && ShowFocusRect};
    switch (ButtonType) {
    case ButtonStyle::DoubleBevel:
        drawDoubleBevel(context, look);
        break;
    case ButtonStyle::Classic3D:
        drawClassic3D(context, look);
        break;
    case ButtonStyle::Gradient:
        drawGradient(context, look);
        break;
    case ButtonStyle::Rounded:
        drawRounded(context, look);
        break;
    case ButtonStyle::BoldFlat:
        drawBoldFlat(context, look);
        break;
    case ButtonStyle::SoftShadow:
        drawSoftShadow(context, look);
        break;
    case ButtonStyle::Thin3D:
        drawThin3D(context, look);
        break;
    default: // an unknown style shows the plain face
        break;
    }
}

} // namespace dialvault
