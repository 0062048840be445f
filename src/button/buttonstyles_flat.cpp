#include "button/buttonstyles.h"
#include "button/styleshifts.h"

// The styles built from frames and straight lines only: 1, 2, 6 and 7.

namespace dialvault {

using namespace styleshifts;

void drawDoubleBevel(const StyleContext &c, Look look)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.W;
    const int H = f.H;
    if (look == Look::Disabled)
        drawEmbossedCaption(c);
    else
        s.DrawCaption(look == Look::Down ? f.shiftedRect : f.fullRect);

    // Dark outline without its corner pixels.
    s.DrawLine(1, 0, W - 1, 0, f.DarkShadowColor);
    s.DrawLine(1, H - 1, W - 1, H - 1, f.DarkShadowColor);
    s.DrawLine(0, 1, 0, H - 1, f.DarkShadowColor);
    s.DrawLine(W - 1, 1, W - 1, H - 1, f.DarkShadowColor);

    const bool pressed = look == Look::Down;
    const Colour frame = pressed ? f.ShadowColor : f.HighlightColor;
    const Colour bevel = pressed ? f.HighlightColor : f.ShadowColor;
    s.DrawBox(1, 1, W - 2, H - 2, frame, true);
    s.DrawBox(2, 2, W - 4, H - 4, frame, true);
    s.DrawLine(W - 2, 1, W - 2, H - 1, bevel);
    s.DrawLine(W - 3, 2, W - 3, H - 1, bevel);
    s.DrawLine(1, H - 2, W - 1, H - 2, bevel);
    s.DrawLine(2, H - 3, W - 2, H - 3, bevel);

    if (look != Look::Disabled)
        drawFocusMark(c);
}

void drawClassic3D(const StyleContext &c, Look look)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.W;
    const int H = f.H;
    const bool asDefault = f.ShowFocusRect && f.defaultFlag;
    if (look == Look::Up && asDefault) {
        s.DrawCaption(f.fullRect);
        s.DrawBox(1, 1, W - 2, H - 2, f.HighlightColor, true);
        s.DrawBox(2, 2, W - 4, H - 4, f.LightColor, true);
        s.DrawLine(W - 2, 1, W - 2, H - 1, f.DarkShadowColor);
        s.DrawLine(W - 3, 2, W - 3, H - 1, f.ShadowColor);
        s.DrawLine(1, H - 2, W - 1, H - 2, f.DarkShadowColor);
        s.DrawLine(2, H - 3, W - 2, H - 3, f.ShadowColor);
        drawFocusMark(c);
        s.DrawBox(0, 0, W, H, f.DarkShadowColor, true); // the default-button outline
        return;
    }
    if (look == Look::Down) {
        s.DrawCaption(f.shiftedRect);
        if (f.ShowFocusRect) {
            s.DrawBox(0, 0, W, H, f.DarkShadowColor, true);
            s.DrawBox(1, 1, W - 2, H - 2, f.ShadowColor, true);
            drawFocusMark(c);
            return;
        }
        s.DrawBox(0, 0, W - 1, H - 1, f.DarkShadowColor, true);
        s.DrawBox(1, 1, W - 2, H - 2, f.ShadowColor, true);
        s.DrawLine(W - 1, 0, W - 1, H, f.HighlightColor);
        s.DrawLine(W - 2, 1, W - 2, H - 1, f.LightColor);
        s.DrawLine(0, H - 1, W - 1, H - 1, f.HighlightColor);
        s.DrawLine(1, H - 2, W - 2, H - 2, f.LightColor);
        return;
    }
    // Released without the default outline, and disabled: the plain bevel.
    if (look == Look::Disabled)
        drawEmbossedCaption(c);
    else
        s.DrawCaption(f.fullRect);
    s.DrawBox(0, 0, W - 1, H - 1, f.HighlightColor, true);
    s.DrawBox(1, 1, W - 2, H - 2, f.LightColor, true);
    s.DrawLine(W - 1, 0, W - 1, H, f.DarkShadowColor);
    s.DrawLine(W - 2, 1, W - 2, H - 1, f.ShadowColor);
    s.DrawLine(0, H - 1, W - 1, H - 1, f.DarkShadowColor);
    s.DrawLine(1, H - 2, W - 2, H - 2, f.ShadowColor);
}

void drawSoftShadow(const StyleContext &c, Look look)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.W;
    const int H = f.H;
    const Colour soft = plainShift(f.LightColor, 8);
    if (look == Look::Disabled)
        s.setTextColour(f.ShadowColor);
    s.DrawCaption(look == Look::Down ? f.shiftedRect : f.fullRect);

    const bool pressed = look == Look::Down;
    const Colour frame = pressed ? f.ShadowColor : soft;
    const Colour shadow = pressed ? soft : f.ShadowColor;
    s.DrawBox(0, 0, W, H, frame, true);
    s.DrawBox(1, 1, W - 2, H - 2, frame, true);
    s.DrawLine(W - 1, 0, W - 1, H, shadow);
    s.DrawLine(W - 2, 1, W - 2, H - 1, shadow);
    s.DrawLine(0, H - 1, W, H - 1, shadow);
    s.DrawLine(1, H - 2, W - 1, H - 2, shadow);

    if (look != Look::Disabled)
        drawFocusMark(c);
}

void drawThin3D(const StyleContext &c, Look look)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.W;
    const int H = f.H;
    switch (look) {
    case Look::Up:
        s.DrawCaption(f.fullRect);
        s.DrawBox(0, 0, W, H, f.HighlightColor, true);
        s.DrawLine(W - 1, 0, W - 1, H, f.ShadowColor);
        s.DrawLine(0, H - 1, W, H - 1, f.ShadowColor);
        break;
    case Look::Down:
        s.DrawCaption(f.shiftedRect);
        s.DrawBox(0, 0, W, H, f.ShadowColor, true);
        s.DrawLine(W - 1, 0, W - 1, H, f.HighlightColor);
        s.DrawLine(0, H - 1, W - 1, H - 1, f.HighlightColor);
        break;
    case Look::Disabled:
        drawEmbossedCaption(c);
        s.DrawBox(0, 0, W, H, f.HighlightColor, true);
        s.DrawLine(W - 1, 0, W - 1, H, f.ShadowColor);
        s.DrawLine(0, H - 1, W - 1, H - 1, f.ShadowColor);
        return;
    }
    drawFocusMark(c);
}

} // namespace dialvault
