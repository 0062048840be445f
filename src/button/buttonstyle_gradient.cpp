#include "button/buttonstyles.h"
#include "button/styleshifts.h"

namespace dialvault {

using namespace styleshifts;

namespace {

constexpr Colour outlineBlue = 0x733C00;
constexpr Colour cornerBlue = 0x7B4D10;

void drawDisabled(const StyleContext &c)
{
    const ButtonFace &f = c.face;
    const Colour base = proportionalShift(f.FaceColor, 48);
    c.surface.DrawBox(0, 0, f.W, f.H, proportionalShift(base, -24), false);
    c.surface.setTextColour(proportionalShift(base, -104));
    c.surface.DrawCaption(f.fullRect);
    drawCutOutline(c, proportionalShift(base, -84), proportionalShift(base, -72));
}

void drawReleased(const StyleContext &c)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.W;
    const int H = f.H;
    const float step = 25.0f / float(H);
    const Colour base = proportionalShift(f.FaceColor, 48);
    // Row 0 keeps the face; the row for i = H lies outside.
    for (qint32 i = 1; i <= H; ++i)
        s.DrawLine(0, i, W, i, proportionalShift(base, nearest(-step * float(i))));
    s.setTextColour(f.TextColor);
    s.DrawCaption(f.fullRect);
    drawCutOutline(c, outlineBlue, cornerBlue);

    const bool hot = (f.ShowFocusRect && f.defaultFlag) || c.drawFocus;
    if (hot) {
        // The glow is this style's focus mark (and the default button's).
        s.DrawBox(1, 2, W - 2, H - 4, 0xE7AE8C, true);
        s.DrawLine(2, H - 2, W - 2, H - 2, 0xEF826B);
        s.DrawLine(2, 1, W - 2, 1, 0xFFE7CE);
        s.DrawLine(1, 2, W - 1, 2, 0xF7D7BD);
        s.DrawLine(2, 3, 2, H - 3, 0xF0D1B5);
        s.DrawLine(W - 3, 3, W - 3, H - 3, 0xF0D1B5);
        return;
    }
    s.DrawLine(2, H - 2, W - 2, H - 2, proportionalShift(base, -48));
    s.DrawLine(1, H - 3, W - 2, H - 3, proportionalShift(base, -32));
    s.DrawLine(W - 2, 2, W - 2, H - 2, proportionalShift(base, -36));
    s.DrawLine(W - 3, 3, W - 3, H - 3, proportionalShift(base, -24));
    s.DrawLine(2, 1, W - 2, 1, proportionalShift(base, 16));
    s.DrawLine(1, 2, W - 2, 2, proportionalShift(base, 10));
    s.DrawLine(1, 2, 1, H - 2, proportionalShift(base, -5));
    s.DrawLine(2, 3, 2, H - 3, proportionalShift(base, -10));
}

void drawPressed(const StyleContext &c)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.W;
    const int H = f.H;
    const float step = 15.0f / float(H);
    const Colour base = proportionalShift(proportionalShift(f.FaceColor, 48), -32);
    // Counted from the bottom, so the darkest row is at the top.
    for (qint32 i = 1; i <= H; ++i)
        s.DrawLine(0, H - i, W, H - i, proportionalShift(base, nearest(-step * float(i))));
    s.setTextColour(f.TextColor);
    s.DrawCaption(f.shiftedRect);
    drawCutOutline(c, outlineBlue, cornerBlue);
    s.DrawLine(2, H - 2, W - 2, H - 2, proportionalShift(base, 16));
    s.DrawLine(1, H - 3, W - 2, H - 3, proportionalShift(base, 10));
    s.DrawLine(W - 2, 2, W - 2, H - 2, proportionalShift(base, 5));
    s.DrawLine(W - 3, 3, W - 3, H - 3, base);
    s.DrawLine(2, 1, W - 2, 1, proportionalShift(base, -32));
    s.DrawLine(1, 2, W - 2, 2, proportionalShift(base, -24));
    s.DrawLine(1, 2, 1, H - 2, proportionalShift(base, -32));
    s.DrawLine(2, 2, 2, H - 2, proportionalShift(base, -22));
}

} // namespace

// Every shift of this style is proportional.
void drawGradient(const StyleContext &c, Look look)
{
    switch (look) {
    case Look::Up:
        drawReleased(c);
        break;
    case Look::Down:
        drawPressed(c);
        break;
    case Look::Disabled:
        drawDisabled(c);
        break;
    }
}

} // namespace dialvault
