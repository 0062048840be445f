#include "button/buttonface.h"

// The styles built from frames and straight lines only: 1, 2, 6 and 7.

namespace dialvault {

void ButtonFace::drawDoubleBevel(Look look)
{
    if (look == Look::Disabled)
        drawEmbossedCaption();
    else
        DrawCaption(look == Look::Pressed ? shiftedRect : fullRect);

    // Dark outline without its corner pixels.
    DrawLine(1, 0, W - 1, 0, DarkShadowColor);
    DrawLine(1, H - 1, W - 1, H - 1, DarkShadowColor);
    DrawLine(0, 1, 0, H - 1, DarkShadowColor);
    DrawLine(W - 1, 1, W - 1, H - 1, DarkShadowColor);

    const bool pressed = look == Look::Pressed;
    const Colour frame = pressed ? ShadowColor : HighlightColor;
    const Colour bevel = pressed ? HighlightColor : ShadowColor;
    DrawBox(1, 1, W - 2, H - 2, frame, true);
    DrawBox(2, 2, W - 4, H - 4, frame, true);
    DrawLine(W - 2, 1, W - 2, H - 1, bevel);
    DrawLine(W - 3, 2, W - 3, H - 1, bevel);
    DrawLine(1, H - 2, W - 1, H - 2, bevel);
    DrawLine(2, H - 3, W - 2, H - 3, bevel);

    if (look != Look::Disabled && drawFocus_)
        DrawFocus();
}

void ButtonFace::drawClassic3D(Look look)
{
    const bool asDefault = ShowFocusRect && defaultFlag;
    if (look == Look::Released && asDefault) {
        DrawCaption(fullRect);
        DrawBox(1, 1, W - 2, H - 2, HighlightColor, true);
        DrawBox(2, 2, W - 4, H - 4, LightColor, true);
        DrawLine(W - 2, 1, W - 2, H - 1, DarkShadowColor);
        DrawLine(W - 3, 2, W - 3, H - 1, ShadowColor);
        DrawLine(1, H - 2, W - 1, H - 2, DarkShadowColor);
        DrawLine(2, H - 3, W - 2, H - 3, ShadowColor);
        if (drawFocus_)
            DrawFocus();
        DrawBox(0, 0, W, H, DarkShadowColor, true); // the default-button outline
        return;
    }
    if (look == Look::Pressed) {
        DrawCaption(shiftedRect);
        if (ShowFocusRect) {
            DrawBox(0, 0, W, H, DarkShadowColor, true);
            DrawBox(1, 1, W - 2, H - 2, ShadowColor, true);
            if (drawFocus_)
                DrawFocus();
            return;
        }
        DrawBox(0, 0, W - 1, H - 1, DarkShadowColor, true);
        DrawBox(1, 1, W - 2, H - 2, ShadowColor, true);
        DrawLine(W - 1, 0, W - 1, H, HighlightColor);
        DrawLine(W - 2, 1, W - 2, H - 1, LightColor);
        DrawLine(0, H - 1, W - 1, H - 1, HighlightColor);
        DrawLine(1, H - 2, W - 2, H - 2, LightColor);
        return;
    }
    // Released without the default outline, and disabled: the plain bevel.
    if (look == Look::Disabled)
        drawEmbossedCaption();
    else
        DrawCaption(fullRect);
    DrawBox(0, 0, W - 1, H - 1, HighlightColor, true);
    DrawBox(1, 1, W - 2, H - 2, LightColor, true);
    DrawLine(W - 1, 0, W - 1, H, DarkShadowColor);
    DrawLine(W - 2, 1, W - 2, H - 1, ShadowColor);
    DrawLine(0, H - 1, W - 1, H - 1, DarkShadowColor);
    DrawLine(1, H - 2, W - 2, H - 2, ShadowColor);
}

void ButtonFace::drawSoftShadow(Look look)
{
    const Colour soft = ShiftColor(LightColor, 8, false);
    if (look == Look::Disabled)
        setTextColour(ShadowColor);
    DrawCaption(look == Look::Pressed ? shiftedRect : fullRect);

    const bool pressed = look == Look::Pressed;
    const Colour frame = pressed ? ShadowColor : soft;
    const Colour shadow = pressed ? soft : ShadowColor;
    DrawBox(0, 0, W, H, frame, true);
    DrawBox(1, 1, W - 2, H - 2, frame, true);
    DrawLine(W - 1, 0, W - 1, H, shadow);
    DrawLine(W - 2, 1, W - 2, H - 1, shadow);
    DrawLine(0, H - 1, W, H - 1, shadow);
    DrawLine(1, H - 2, W - 1, H - 2, shadow);

    if (look != Look::Disabled && drawFocus_)
        DrawFocus();
}

void ButtonFace::drawThin3D(Look look)
{
    switch (look) {
    case Look::Released:
        DrawCaption(fullRect);
        DrawBox(0, 0, W, H, HighlightColor, true);
        DrawLine(W - 1, 0, W - 1, H, ShadowColor);
        DrawLine(0, H - 1, W, H - 1, ShadowColor);
        break;
    case Look::Pressed:
        DrawCaption(shiftedRect);
        DrawBox(0, 0, W, H, ShadowColor, true);
        DrawLine(W - 1, 0, W - 1, H, HighlightColor);
        DrawLine(0, H - 1, W - 1, H - 1, HighlightColor);
        break;
    case Look::Disabled:
        drawEmbossedCaption();
        DrawBox(0, 0, W, H, HighlightColor, true);
        DrawLine(W - 1, 0, W - 1, H, ShadowColor);
        DrawLine(0, H - 1, W - 1, H - 1, ShadowColor);
        return;
    }
    if (drawFocus_)
        DrawFocus();
}

} // namespace dialvault
