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
    const int x = nearest(float(c.face.W) - tw) / 2 - 3;
    const int y = nearest(float(c.face.H) - th) / 2 - 1;
    c.surface.DrawBox(x, y, nearest(tw + 6.0f), nearest(th + 2.0f), 0xCC9999, true);
}

} // namespace

void drawBoldFlat(const StyleContext &c, Look look)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.W;
    const int H = f.H;
    s.setBold(true);
    switch (look) {
    case Look::Up:
        s.DrawBox(1, 1, W - 1, H - 1, plainShift(f.FaceColor, 12), false);
        s.DrawCaption(f.fullRect);
        s.DrawBox(1, 1, W - 1, H - 1, f.HighlightColor, true);
        s.DrawBox(0, 0, W - 1, H - 1, plainShift(f.ShadowColor, -26), true);
        s.DrawPixel(1, H - 2, plainShift(f.ShadowColor, 26));
        s.DrawPixel(W - 2, 1, plainShift(f.ShadowColor, 26));
        drawCaptionBox(c);
        break;
    case Look::Down:
        s.DrawBox(1, 1, W - 2, H - 2, plainShift(f.ShadowColor, 16), false);
        s.DrawBox(0, 0, W - 1, H - 1, plainShift(f.ShadowColor, -26), true);
        s.DrawLine(W - 1, 1, W - 1, H, f.HighlightColor);
        s.DrawLine(1, H - 1, W - 1, H - 1, f.HighlightColor);
        s.DrawCaption(f.fullRect); // this style's pressed caption does not move
        drawCaptionBox(c);
        break;
    case Look::Disabled:
        s.setTextColour(f.ShadowColor);
        s.DrawCaption(f.fullRect);
        s.DrawBox(0, 0, W, H, f.ShadowColor, true);
        break;
    }
    s.setBold(false);
}

} // namespace dialvault
