#include "button/buttonstyles.h"

namespace dialvault {

void drawFocusMark(const StyleContext &c)
{
    if (c.drawFocus)
        c.surface.DrawFocus(c.face.focusRect, c.face.TextColor);
}

void drawEmbossedCaption(const StyleContext &c)
{
    c.surface.setTextColour(c.face.HighlightColor);
    c.surface.DrawCaption(c.face.shiftedRect);
    c.surface.setTextColour(c.face.ShadowColor);
    c.surface.DrawCaption(c.face.fullRect);
}

void drawCutOutline(const StyleContext &c, Colour outline, std::optional<Colour> corner)
{
    ButtonSurface &s = c.surface;
    const int W = c.face.W;
    const int H = c.face.H;
    s.DrawLine(2, 0, W - 2, 0, outline);
    s.DrawLine(2, H - 1, W - 2, H - 1, outline);
    s.DrawLine(0, 2, 0, H - 2, outline);
    s.DrawLine(W - 1, 2, W - 1, H - 2, outline);
    if (!corner)
        return;
    s.DrawPixel(1, 1, *corner);
    s.DrawPixel(1, H - 2, *corner);
    s.DrawPixel(W - 2, 1, *corner);
    s.DrawPixel(W - 2, H - 2, *corner);
}

} // namespace dialvault
