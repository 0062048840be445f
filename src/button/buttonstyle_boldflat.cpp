#include "button/buttonstyles.h"
#include "button/styleshifts.h"

namespace dialvault {

using namespace styleshifts;

namespace {

// This style's focus mark, in place of the dotted rectangle: a box around the
// caption as measured in the bold font.
void drawCaptionBox(const StyleContext &c)
{
    if (!c.drawFocus)
        return;
    const QSizeF size = c.surface.captionSize();
    const float tw = float(size.width());
    const float th = float(size.height());
    const int x = nearest(float(c.face.width) - tw) / 2 - 3;
    const int y = nearest(float(c.face.height) - th) / 2 - 1;
    c.surface.drawBox(x, y, nearest(tw + 6.0f), nearest(th + 2.0f), 0xCC9999, true);
}

} // namespace

void drawBoldFlat(const StyleContext &c, Look look)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.width;
    const int H = f.height;
    s.setBold(true);
    switch (look) {
    case Look::Up:
        s.drawBox(1, 1, W - 1, H - 1, plainShift(f.faceColour, 12), false);
        s.drawCaption(f.fullRect);
        s.drawBox(1, 1, W - 1, H - 1, f.highlightColour, true);
        s.drawBox(0, 0, W - 1, H - 1, plainShift(f.shadowColour, -26), true);
        s.drawPixel(1, H - 2, plainShift(f.shadowColour, 26));
        s.drawPixel(W - 2, 1, plainShift(f.shadowColour, 26));
        drawCaptionBox(c);
        break;
    case Look::Down:
        s.drawBox(1, 1, W - 2, H - 2, plainShift(f.shadowColour, 16), false);
        s.drawBox(0, 0, W - 1, H - 1, plainShift(f.shadowColour, -26), true);
        s.drawLine(W - 1, 1, W - 1, H, f.highlightColour);
        s.drawLine(1, H - 1, W - 1, H - 1, f.highlightColour);
        s.drawCaption(f.fullRect); // this style's pressed caption does not move
        drawCaptionBox(c);
        break;
    case Look::Disabled:
        s.setTextColour(f.shadowColour);
        s.drawCaption(f.fullRect);
        s.drawBox(0, 0, W, H, f.shadowColour, true);
        break;
    }
    s.setBold(false);
}

} // namespace dialvault
