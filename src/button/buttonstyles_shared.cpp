#include "button/buttonstyles.h"

namespace dialvault {

void drawFocusMark(const StyleContext &c)
{
    if (c.drawFocus)
        c.surface.drawFocus(c.face.focusRect, c.face.textColour);
}

void drawEmbossedCaption(const StyleContext &c)
{
    c.surface.setTextColour(c.face.highlightColour);
    c.surface.drawCaption(c.face.shiftedRect);
    c.surface.setTextColour(c.face.shadowColour);
    c.surface.drawCaption(c.face.fullRect);
}

void drawCutOutline(const StyleContext &c, Colour outline, std::optional<Colour> corner)
{
    ButtonSurface &s = c.surface;
    const int W = c.face.width;
    const int H = c.face.height;
    s.drawLine(2, 0, W - 2, 0, outline);
    s.drawLine(2, H - 1, W - 2, H - 1, outline);
    s.drawLine(0, 2, 0, H - 2, outline);
    s.drawLine(W - 1, 2, W - 1, H - 2, outline);
    if (!corner)
        return;
    s.drawPixel(1, 1, *corner);
    s.drawPixel(1, H - 2, *corner);
    s.drawPixel(W - 2, 1, *corner);
    s.drawPixel(W - 2, H - 2, *corner);
}

} // namespace dialvault
