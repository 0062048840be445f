#include "button/buttonface.h"
#include "button/styleshifts.h"

namespace dialvault {

using namespace styleshifts;

namespace {

constexpr Colour outlineBlue = 0x733C00;
constexpr Colour cornerBlue = 0x7B4D10;

} // namespace

void ButtonFace::drawGradient(Look look)
{
    if (look == Look::Disabled) {
        const Colour base = P(FaceColor, 48);
        DrawBox(0, 0, W, H, P(base, -24), false);
        setTextColour(P(base, -104));
        DrawCaption(fullRect);
        drawCutOutline(P(base, -84), P(base, -72));
        return;
    }

    if (look == Look::Released) {
        const float step = 25.0f / float(H);
        const Colour base = P(FaceColor, 48);
        // Row 0 keeps the face; the row for i = H lies outside.
        for (qint32 i = 1; i <= H; ++i)
            DrawLine(0, i, W, i, P(base, nearest(-step * float(i))));
        setTextColour(TextColor);
        DrawCaption(fullRect);
        drawCutOutline(outlineBlue, cornerBlue);

        const bool hot = (ShowFocusRect && defaultFlag) || drawFocus_;
        if (hot) {
            // The glow is this style's focus mark (and the default button's).
            DrawBox(1, 2, W - 2, H - 4, 0xE7AE8C, true);
            DrawLine(2, H - 2, W - 2, H - 2, 0xEF826B);
            DrawLine(2, 1, W - 2, 1, 0xFFE7CE);
            DrawLine(1, 2, W - 1, 2, 0xF7D7BD);
            DrawLine(2, 3, 2, H - 3, 0xF0D1B5);
            DrawLine(W - 3, 3, W - 3, H - 3, 0xF0D1B5);
            return;
        }
        DrawLine(2, H - 2, W - 2, H - 2, P(base, -48));
        DrawLine(1, H - 3, W - 2, H - 3, P(base, -32));
        DrawLine(W - 2, 2, W - 2, H - 2, P(base, -36));
        DrawLine(W - 3, 3, W - 3, H - 3, P(base, -24));
        DrawLine(2, 1, W - 2, 1, P(base, 16));
        DrawLine(1, 2, W - 2, 2, P(base, 10));
        DrawLine(1, 2, 1, H - 2, P(base, -5));
        DrawLine(2, 3, 2, H - 3, P(base, -10));
        return;
    }

    const float step = 15.0f / float(H);
    const Colour base = P(P(FaceColor, 48), -32);
    // Counted from the bottom, so the darkest row is at the top.
    for (qint32 i = 1; i <= H; ++i)
        DrawLine(0, H - i, W, H - i, P(base, nearest(-step * float(i))));
    setTextColour(TextColor);
    DrawCaption(shiftedRect);
    drawCutOutline(outlineBlue, cornerBlue);
    DrawLine(2, H - 2, W - 2, H - 2, P(base, 16));
    DrawLine(1, H - 3, W - 2, H - 3, P(base, 10));
    DrawLine(W - 2, 2, W - 2, H - 2, P(base, 5));
    DrawLine(W - 3, 3, W - 3, H - 3, base);
    DrawLine(2, 1, W - 2, 1, P(base, -32));
    DrawLine(1, 2, W - 2, 2, P(base, -24));
    DrawLine(1, 2, 1, H - 2, P(base, -32));
    DrawLine(2, 2, 2, H - 2, P(base, -22));
}

} // namespace dialvault
