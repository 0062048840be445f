#include "button/buttonface.h"
#include "button/styleshifts.h"

#include <QFontMetricsF>

namespace dialvault {

using namespace styleshifts;

void ButtonFace::drawBoldFlat(Look look)
{
    boldOverride_ = true;
    switch (look) {
    case Look::Released:
        DrawBox(1, 1, W - 1, H - 1, S(FaceColor, 12), false);
        DrawCaption(fullRect);
        DrawBox(1, 1, W - 1, H - 1, HighlightColor, true);
        DrawBox(0, 0, W - 1, H - 1, S(ShadowColor, -26), true);
        DrawPixel(1, H - 2, S(ShadowColor, 26));
        DrawPixel(W - 2, 1, S(ShadowColor, 26));
        drawCaptionBox();
        break;
    case Look::Pressed:
        DrawBox(1, 1, W - 2, H - 2, S(ShadowColor, 16), false);
        DrawBox(0, 0, W - 1, H - 1, S(ShadowColor, -26), true);
        DrawLine(W - 1, 1, W - 1, H, HighlightColor);
        DrawLine(1, H - 1, W - 1, H - 1, HighlightColor);
        DrawCaption(fullRect); // this style's pressed caption does not move
        drawCaptionBox();
        break;
    case Look::Disabled:
        setTextColour(ShadowColor);
        DrawCaption(fullRect);
        DrawBox(0, 0, W, H, ShadowColor, true);
        break;
    }
    boldOverride_ = false;
}

void ButtonFace::drawCaptionBox()
{
    if (!drawFocus_)
        return;
    // Measured in the bold font the caption is drawn in; the '&' markers count,
    // as the window system's text measuring does not process them.
    const QFontMetricsF metrics(captionFont());
    const float tw = float(metrics.horizontalAdvance(Caption));
    const float th = float(metrics.height());
    const int x = nearest(float(W) - tw) / 2 - 3;
    const int y = nearest(float(H) - th) / 2 - 1;
    DrawBox(x, y, nearest(tw + 6.0f), nearest(th + 2.0f), 0xCC9999, true);
}

} // namespace dialvault
