#include "button/buttonstyles.h"
#include "button/styleshifts.h"

namespace dialvault {

using namespace styleshifts;

namespace {

void drawPressed(const StyleContext &c)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.W;
    const int H = f.H;
    const Colour deep = plainShift(f.ShadowColor, -64);
    const Colour mid = plainShift(f.ShadowColor, -32);
    const Colour soft = plainShift(f.ShadowColor, -16);
    s.DrawBox(1, 1, W - 2, H - 2, soft, false);
    s.setTextColour(f.LightColor);
    s.DrawCaption(f.shiftedRect);
    drawCutOutline(c, f.DarkShadowColor, std::nullopt);
    s.DrawBox(1, 1, W - 2, H - 2, deep, true);
    s.DrawBox(2, 2, W - 4, H - 4, mid, true);
    s.DrawPixel(2, 2, deep);
    s.DrawPixel(3, 3, mid);
    s.DrawPixel(1, 1, f.DarkShadowColor);
    s.DrawPixel(1, H - 2, f.DarkShadowColor);
    s.DrawPixel(W - 2, 1, f.DarkShadowColor);
    s.DrawPixel(W - 2, H - 2, f.DarkShadowColor);
    s.DrawLine(W - 3, 1, W - 3, H - 3, f.ShadowColor);
    s.DrawLine(1, H - 3, W - 2, H - 3, f.ShadowColor);
    s.DrawPixel(W - 4, H - 4, f.ShadowColor);
    s.DrawLine(W - 2, 3, W - 2, H - 2, soft);
    s.DrawLine(3, H - 2, W - 2, H - 2, soft);
    s.DrawPixel(W - 2, H - 3, mid);
    s.DrawPixel(W - 3, H - 2, mid);
    s.DrawPixel(2, H - 2, mid);
    s.DrawPixel(2, H - 3, soft);
    s.DrawPixel(1, H - 3, soft);
    s.DrawPixel(W - 2, 2, mid);
    s.DrawPixel(W - 3, 2, soft);
    s.DrawPixel(W - 3, 1, soft);
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
    const int W = f.W;
    const int H = f.H;
    s.DrawBox(1, 1, W - 2, H - 2, f.LightColor, false);
    if (look == Look::Disabled)
        drawEmbossedCaption(c);
    else
        s.DrawCaption(f.fullRect);
    drawCutOutline(c, f.DarkShadowColor, f.DarkShadowColor);

    s.DrawPixel(1, 2, f.FaceColor);
    s.DrawPixel(2, 1, f.FaceColor);
    s.DrawLine(3, 2, W - 3, 2, f.HighlightColor);
    s.DrawLine(2, 2, 2, H - 3, f.HighlightColor);
    s.DrawPixel(3, 3, f.HighlightColor);

    s.DrawLine(W - 3, 1, W - 3, H - 3, f.FaceColor);
    s.DrawLine(1, H - 3, W - 3, H - 3, f.FaceColor);
    s.DrawPixel(W - 4, H - 4, f.FaceColor);
    s.DrawLine(W - 2, 3, W - 2, H - 2, f.ShadowColor);
    s.DrawLine(3, H - 2, W - 2, H - 2, f.ShadowColor);
    s.DrawPixel(W - 3, H - 3, f.ShadowColor);
    s.DrawPixel(2, H - 2, f.FaceColor);
    s.DrawPixel(2, H - 3, f.LightColor);
    s.DrawPixel(W - 2, 2, f.FaceColor);
    s.DrawPixel(W - 3, 2, f.LightColor);
}

} // namespace dialvault
