#include "button/buttonstyles.h"
#include "button/styleshifts.h"

namespace dialvault {

using namespace styleshifts;

namespace {

void drawPressed(const StyleContext &c)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.width;
    const int H = f.height;
    const Colour deep = plainShift(f.shadowColour, -64);
    const Colour mid = plainShift(f.shadowColour, -32);
    const Colour soft = plainShift(f.shadowColour, -16);
    s.drawBox(1, 1, W - 2, H - 2, soft, false);
    s.setTextColour(f.lightColour);
    s.drawCaption(f.shiftedRect);
    drawCutOutline(c, f.darkShadowColour, std::nullopt);
    s.drawBox(1, 1, W - 2, H - 2, deep, true);
    s.drawBox(2, 2, W - 4, H - 4, mid, true);
    s.drawPixel(2, 2, deep);
    s.drawPixel(3, 3, mid);
    s.drawPixel(1, 1, f.darkShadowColour);
    s.drawPixel(1, H - 2, f.darkShadowColour);
    s.drawPixel(W - 2, 1, f.darkShadowColour);
    s.drawPixel(W - 2, H - 2, f.darkShadowColour);
    s.drawLine(W - 3, 1, W - 3, H - 3, f.shadowColour);
    s.drawLine(1, H - 3, W - 2, H - 3, f.shadowColour);
    s.drawPixel(W - 4, H - 4, f.shadowColour);
    s.drawLine(W - 2, 3, W - 2, H - 2, soft);
    s.drawLine(3, H - 2, W - 2, H - 2, soft);
    s.drawPixel(W - 2, H - 3, mid);
    s.drawPixel(W - 3, H - 2, mid);
    s.drawPixel(2, H - 2, mid);
    s.drawPixel(2, H - 3, soft);
    s.drawPixel(1, H - 3, soft);
    s.drawPixel(W - 2, 2, mid);
    s.drawPixel(W - 3, 2, soft);
    s.drawPixel(W - 3, 1, soft);
}

} // namespace

void drawRounded(const StyleContext &c, Look look)
{
    if (look == Look::Down) {
        drawPressed(c);
        return;
    }

    // Released and disabled differ only in the caption.
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.width;
    const int H = f.height;
    s.drawBox(1, 1, W - 2, H - 2, f.lightColour, false);
    if (look == Look::Disabled)
        drawEmbossedCaption(c);
    else
        s.drawCaption(f.fullRect);
    drawCutOutline(c, f.darkShadowColour, f.darkShadowColour);

    s.drawPixel(1, 2, f.faceColour);
    s.drawPixel(2, 1, f.faceColour);
    s.drawLine(3, 2, W - 3, 2, f.highlightColour);
    s.drawLine(2, 2, 2, H - 3, f.highlightColour);
    s.drawPixel(3, 3, f.highlightColour);

    s.drawLine(W - 3, 1, W - 3, H - 3, f.faceColour);
    s.drawLine(1, H - 3, W - 3, H - 3, f.faceColour);
    s.drawPixel(W - 4, H - 4, f.faceColour);
    s.drawLine(W - 2, 3, W - 2, H - 2, f.shadowColour);
    s.drawLine(3, H - 2, W - 2, H - 2, f.shadowColour);
    s.drawPixel(W - 3, H - 3, f.shadowColour);
    s.drawPixel(2, H - 2, f.faceColour);
    s.drawPixel(2, H - 3, f.lightColour);
    s.drawPixel(W - 2, 2, f.faceColour);
    s.drawPixel(W - 3, 2, f.lightColour);
}

} // namespace dialvault
