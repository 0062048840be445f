#include "button/buttonface.h"
#include "button/styleshifts.h"

namespace dialvault {

using namespace styleshifts;

void ButtonFace::drawRounded(Look look)
{
    if (look == Look::Pressed) {
        const Colour deep = S(ShadowColor, -64);
        const Colour mid = S(ShadowColor, -32);
        const Colour soft = S(ShadowColor, -16);
        DrawBox(1, 1, W - 2, H - 2, soft, false);
        setTextColour(LightColor);
        DrawCaption(shiftedRect);
        drawCutOutline(DarkShadowColor, std::nullopt);
        DrawBox(1, 1, W - 2, H - 2, deep, true);
        DrawBox(2, 2, W - 4, H - 4, mid, true);
        DrawPixel(2, 2, deep);
        DrawPixel(3, 3, mid);
        DrawPixel(1, 1, DarkShadowColor);
        DrawPixel(1, H - 2, DarkShadowColor);
        DrawPixel(W - 2, 1, DarkShadowColor);
        DrawPixel(W - 2, H - 2, DarkShadowColor);
        DrawLine(W - 3, 1, W - 3, H - 3, ShadowColor);
        DrawLine(1, H - 3, W - 2, H - 3, ShadowColor);
        DrawPixel(W - 4, H - 4, ShadowColor);
        DrawLine(W - 2, 3, W - 2, H - 2, soft);
        DrawLine(3, H - 2, W - 2, H - 2, soft);
        DrawPixel(W - 2, H - 3, mid);
        DrawPixel(W - 3, H - 2, mid);
        DrawPixel(2, H - 2, mid);
        DrawPixel(2, H - 3, soft);
        DrawPixel(1, H - 3, soft);
        DrawPixel(W - 2, 2, mid);
        DrawPixel(W - 3, 2, soft);
        DrawPixel(W - 3, 1, soft);
        return;
    }

    DrawBox(1, 1, W - 2, H - 2, LightColor, false);
    if (look == Look::Disabled)
        drawEmbossedCaption();
    else
        DrawCaption(fullRect);
    drawCutOutline(DarkShadowColor, DarkShadowColor);

    DrawPixel(1, 2, FaceColor);
    DrawPixel(2, 1, FaceColor);
    DrawLine(3, 2, W - 3, 2, HighlightColor);
    DrawLine(2, 2, 2, H - 3, HighlightColor);
    DrawPixel(3, 3, HighlightColor);

    DrawLine(W - 3, 1, W - 3, H - 3, FaceColor);
    DrawLine(1, H - 3, W - 3, H - 3, FaceColor);
    DrawPixel(W - 4, H - 4, FaceColor);
    DrawLine(W - 2, 3, W - 2, H - 2, ShadowColor);
    DrawLine(3, H - 2, W - 2, H - 2, ShadowColor);
    DrawPixel(W - 3, H - 3, ShadowColor);
    DrawPixel(2, H - 2, FaceColor);
    DrawPixel(2, H - 3, LightColor);
    DrawPixel(W - 2, 2, FaceColor);
    DrawPixel(W - 3, 2, LightColor);
}

} // namespace dialvault
