#include "button/buttonstyles.h"
#include "button/styleshifts.h"

// The styles built from frames and straight lines only: 1, 2, 6 and 7.

namespace dialvault {

using namespace styleshifts;

void drawDoubleBevel(const StyleContext &c, Look look)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.width;
    const int H = f.height;
    if (look == Look::Disabled)
        drawEmbossedCaption(c);
    else
        s.drawCaption(look == Look::Down ? f.shiftedRect : f.fullRect);

    // Dark outline without its corner pixels.
    s.drawLine(1, 0, W - 1, 0, f.darkShadowColour);
    s.drawLine(1, H - 1, W - 1, H - 1, f.darkShadowColour);
    s.drawLine(0, 1, 0, H - 1, f.darkShadowColour);
    s.drawLine(W - 1, 1, W - 1, H - 1, f.darkShadowColour);

    const bool pressed = look == Look::Down;
    const Colour frame = pressed ? f.shadowColour : f.highlightColour;
    const Colour bevel = pressed ? f.highlightColour : f.shadowColour;
    s.drawBox(1, 1, W - 2, H - 2, frame, true);
    s.drawBox(2, 2, W - 4, H - 4, frame, true);
    s.drawLine(W - 2, 1, W - 2, H - 1, bevel);
    s.drawLine(W - 3, 2, W - 3, H - 1, bevel);
    s.drawLine(1, H - 2, W - 1, H - 2, bevel);
    s.drawLine(2, H - 3, W - 2, H - 3, bevel);

    if (look != Look::Disabled)
        drawFocusMark(c);
}

void drawClassic3D(const StyleContext &c, Look look)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.width;
    const int H = f.height;
    const bool asDefault = f.showFocusRect && f.defaultFlag;
    if (look == Look::Up && asDefault) {
        s.drawCaption(f.fullRect);
        s.drawBox(1, 1, W - 2, H - 2, f.highlightColour, true);
        s.drawBox(2, 2, W - 4, H - 4, f.lightColour, true);
        s.drawLine(W - 2, 1, W - 2, H - 1, f.darkShadowColour);
        s.drawLine(W - 3, 2, W - 3, H - 1, f.shadowColour);
        s.drawLine(1, H - 2, W - 1, H - 2, f.darkShadowColour);
        s.drawLine(2, H - 3, W - 2, H - 3, f.shadowColour);
        drawFocusMark(c);
        s.drawBox(0, 0, W, H, f.darkShadowColour, true); // the default-button outline
        return;
    }
    if (look == Look::Down) {
        s.drawCaption(f.shiftedRect);
        if (f.showFocusRect) {
            s.drawBox(0, 0, W, H, f.darkShadowColour, true);
            s.drawBox(1, 1, W - 2, H - 2, f.shadowColour, true);
            drawFocusMark(c);
            return;
        }
        s.drawBox(0, 0, W - 1, H - 1, f.darkShadowColour, true);
        s.drawBox(1, 1, W - 2, H - 2, f.shadowColour, true);
        s.drawLine(W - 1, 0, W - 1, H, f.highlightColour);
        s.drawLine(W - 2, 1, W - 2, H - 1, f.lightColour);
        s.drawLine(0, H - 1, W - 1, H - 1, f.highlightColour);
        s.drawLine(1, H - 2, W - 2, H - 2, f.lightColour);
        return;
    }
    // Released without the default outline, and disabled: the plain bevel.
    if (look == Look::Disabled)
        drawEmbossedCaption(c);
    else
        s.drawCaption(f.fullRect);
    s.drawBox(0, 0, W - 1, H - 1, f.highlightColour, true);
    s.drawBox(1, 1, W - 2, H - 2, f.lightColour, true);
    s.drawLine(W - 1, 0, W - 1, H, f.darkShadowColour);
    s.drawLine(W - 2, 1, W - 2, H - 1, f.shadowColour);
    s.drawLine(0, H - 1, W - 1, H - 1, f.darkShadowColour);
    s.drawLine(1, H - 2, W - 2, H - 2, f.shadowColour);
}

void drawSoftShadow(const StyleContext &c, Look look)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.width;
    const int H = f.height;
    const Colour soft = plainShift(f.lightColour, 8);
    if (look == Look::Disabled)
        s.setTextColour(f.shadowColour);
    s.drawCaption(look == Look::Down ? f.shiftedRect : f.fullRect);

    const bool pressed = look == Look::Down;
    const Colour frame = pressed ? f.shadowColour : soft;
    const Colour shadow = pressed ? soft : f.shadowColour;
    s.drawBox(0, 0, W, H, frame, true);
    s.drawBox(1, 1, W - 2, H - 2, frame, true);
    s.drawLine(W - 1, 0, W - 1, H, shadow);
    s.drawLine(W - 2, 1, W - 2, H - 1, shadow);
    s.drawLine(0, H - 1, W, H - 1, shadow);
    s.drawLine(1, H - 2, W - 1, H - 2, shadow);

    if (look != Look::Disabled)
        drawFocusMark(c);
}

void drawThin3D(const StyleContext &c, Look look)
{
    const ButtonFace &f = c.face;
    ButtonSurface &s = c.surface;
    const int W = f.width;
    const int H = f.height;
    switch (look) {
    case Look::Up:
        s.drawCaption(f.fullRect);
        s.drawBox(0, 0, W, H, f.highlightColour, true);
        s.drawLine(W - 1, 0, W - 1, H, f.shadowColour);
        s.drawLine(0, H - 1, W, H - 1, f.shadowColour);
        break;
    case Look::Down:
        s.drawCaption(f.shiftedRect);
        s.drawBox(0, 0, W, H, f.shadowColour, true);
        s.drawLine(W - 1, 0, W - 1, H, f.highlightColour);
        s.drawLine(0, H - 1, W - 1, H - 1, f.highlightColour);
        break;
    case Look::Disabled:
        drawEmbossedCaption(c);
        s.drawBox(0, 0, W, H, f.highlightColour, true);
        s.drawLine(W - 1, 0, W - 1, H, f.shadowColour);
        s.drawLine(0, H - 1, W - 1, H - 1, f.shadowColour);
        return;
    }
    drawFocusMark(c);
}

} // namespace dialvault
