#include "button/buttonface.h"

#include "button/buttonstyles.h"

#include <algorithm>
#include <array>

namespace dialvault {

ButtonFace::ButtonFace()
    : backColour(systemColour(15))
    , foreColour(systemColour(18))
    , font(std::make_shared<FontObject>())
{
    buildPalette();
}

void ButtonFace::setSize(int w, int h)
{
    width = w;
    height = h;
    fullRect = {0, 0, w, h};
    shiftedRect = {2, 2, w, h};
    focusRect = {4, 4, w - 4, h - 4};
    m_surface.resize(w, h, faceColour);
}

void ButtonFace::buildPalette()
{
    switch (colourScheme) {
    case ColourScheme::CustomColors:
        textColour = foreColour;
        faceColour = backColour;
        shadowColour = shiftColour(backColour, -64, false);
        lightColour = shiftColour(faceColour, 31, false);
        highlightColour = shiftColour(faceColour, 47, false);
        darkShadowColour = shiftColour(faceColour, -192, false);
        break;
    case ColourScheme::FixedGrey:
        textColour = 0x000000;
        faceColour = 0xC0C0C0;
        shadowColour = 0x808080;
        lightColour = 0xDFDFDF;
        highlightColour = 0xFFFFFF;
        darkShadowColour = 0x000000;
        break;
    default: // SystemColors, and any value stored that names no scheme
        faceColour = systemColour(15);
        shadowColour = systemColour(16);
        lightColour = systemColour(22);
        darkShadowColour = systemColour(21);
        highlightColour = systemColour(20);
        textColour = systemColour(18);
        break;
    }
}

QRegion ButtonFace::buildRegion()
{
    QRegion shape(0, 0, std::max(width, 0), std::max(height, 0));
    const auto clip = [&shape](int x, int y) { shape -= QRegion(x, y, 1, 1); };
    switch (buttonType) {
    case ButtonStyle::DoubleBevel: // the four corner pixels
        clip(0, 0);
        clip(width - 1, 0);
        clip(0, height - 1);
        clip(width - 1, height - 1);
        break;
    case ButtonStyle::Gradient:
    case ButtonStyle::Rounded: // each corner pixel with its two neighbours
        for (const auto &[x, y, dx, dy] :
             {std::array{0, 0, 1, 1}, std::array{width - 1, 0, -1, 1},
              std::array{0, height - 1, 1, -1}, std::array{width - 1, height - 1, -1, -1}}) {
            clip(x, y);
            clip(x + dx, y);
            clip(x, y + dy);
        }
        break;
    case ButtonStyle::BoldFlat: // bottom-left and top-right only
        clip(0, height - 1);
        clip(width - 1, 0);
        break;
    default: // the other styles, and unknown ones, keep the rectangle
        break;
    }
    region = shape;
    return region;
}

void ButtonFace::updateAccessKey()
{
    const QChar amp(u'&');
    accessKey = QChar();
    const qsizetype n = caption.size();
    if (n < 2)
        return;
    const qsizetype p = caption.indexOf(amp);
    if (p < 0 || p == n - 1)
        return;
    if (caption.at(p + 1) != amp) {
        accessKey = caption.at(p + 1).toLower();
        return;
    }
    // "&&" is a literal ampersand: the marker may follow it, and only once more.
    // Without a further "&" there is no key (rather than the caption's first letter).
    const qsizetype q = caption.indexOf(amp, p + 2);
    if (q < 0 || q == n - 1)
        return;
    if (caption.at(q + 1) != amp)
        accessKey = caption.at(q + 1).toLower();
}

void ButtonFace::redraw(Look state, bool force)
{
    if (!force && caption == lastCaption && state == lastState)
        return;
    if (height == 0)
        return;
    lastState = state;
    lastCaption = caption;

    // The face box below covers every pixel, so clearing only has to ask for
    // the repaint.
    if (invalidate)
        invalidate();
    draw();
}

// Kept apart from redraw(), so that its early stop, which every mouse move
// reaches, stays a few instructions.
void ButtonFace::draw()
{
    m_surface.drawBox(0, 0, width, height, faceColour, false);
    if (!enabled) {
        drawStyle(Look::Disabled);
        return;
    }
    m_surface.setTextColour(textColour);
    if (lastState == Look::Up || lastState == Look::Down)
        drawStyle(lastState);
}

void ButtonFace::drawStyle(Look look)
{
    // The font object is shared with the host, which may have changed it.
    m_surface.setCaption(caption);
    m_surface.setFont(font->toQFont());
    // The focus shows only where the button allows it, for this drawing alone.
    const StyleContext context{*this, m_surface, hasFocus && showFocusRect};
    switch (buttonType) {
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
