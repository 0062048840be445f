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
    const Colour base = proportionalShift(f.faceColour, 48);
    c.surface.drawBox(0, 0, f.width, f.height, proportionalShift(base, -24), false);
    c.surface.setTextColour(proportionalShift(base, -104));
    c.surface.drawCaption(f.fullRect);
    drawCutOutline(c, proportionalShift(base, -84), proportionalShift(base, -72));
}

void drawReleased(const StyleContext &c)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.width;
    const int H = f.height;
    const float step = 25.0f / float(H);
    const Colour base = proportionalShift(f.faceColour, 48);
    // Row 0 keeps the face; the row for i = H lies outside.
    for (qint32 i = 1; i <= H; ++i)
        s.drawLine(0, i, W, i, proportionalShift(base, nearest(-step * float(i))));
    s.setTextColour(f.textColour);
    s.drawCaption(f.fullRect);
    drawCutOutline(c, outlineBlue, cornerBlue);

    const bool hot = (f.showFocusRect && f.defaultFlag) || c.drawFocus;
    if (hot) {
        // The glow is this style's focus mark (and the default button's).
        s.drawBox(1, 2, W - 2, H - 4, 0xE7AE8C, true);
        s.drawLine(2, H - 2, W - 2, H - 2, 0xEF826B);
        s.drawLine(2, 1, W - 2, 1, 0xFFE7CE);
        s.drawLine(1, 2, W - 1, 2, 0xF7D7BD);
        s.drawLine(2, 3, 2, H - 3, 0xF0D1B5);
        s.drawLine(W - 3, 3, W - 3, H - 3, 0xF0D1B5);
        return;
    }
    s.drawLine(2, H - 2, W - 2, H - 2, proportionalShift(base, -48));
    s.drawLine(1, H - 3, W - 2, H - 3, proportionalShift(base, -32));
    s.drawLine(W - 2, 2, W - 2, H - 2, proportionalShift(base, -36));
    s.drawLine(W - 3, 3, W - 3, H - 3, proportionalShift(base, -24));
    s.drawLine(2, 1, W - 2, 1, proportionalShift(base, 16));
    s.drawLine(1, 2, W - 2, 2, proportionalShift(base, 10));
    s.drawLine(1, 2, 1, H - 2, proportionalShift(base, -5));
    s.drawLine(2, 3, 2, H - 3, proportionalShift(base, -10));
}

void drawPressed(const StyleContext &c)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.width;
    const int H = f.height;
    const float step = 15.0f / float(H);
    const Colour base = proportionalShift(proportionalShift(f.faceColour, 48), -32);
    // Counted from the bottom, so the darkest row is at the top.
    for (qint32 i = 1; i <= H; ++i)
        s.drawLine(0, H - i, W, H - i, proportionalShift(base, nearest(-step * float(i))));
    s.setTextColour(f.textColour);
    s.drawCaption(f.shiftedRect);
    drawCutOutline(c, outlineBlue, cornerBlue);
    s.drawLine(2, H - 2, W - 2, H - 2, proportionalShift(base, 16));
    s.drawLine(1, H - 3, W - 2, H - 3, proportionalShift(base, 10));
    s.drawLine(W - 2, 2, W - 2, H - 2, proportionalShift(base, 5));
    s.drawLine(W - 3, 3, W - 3, H - 3, base);
    s.drawLine(2, 1, W - 2, 1, proportionalShift(base, -32));
    s.drawLine(1, 2, W - 2, 2, proportionalShift(base, -24));
    s.drawLine(1, 2, 1, H - 2, proportionalShift(base, -32));
    s.drawLine(2, 2, 2, H - 2, proportionalShift(base, -22));
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
