#pragma once

#include "button/buttonface.h"
#include "button/buttonsurface.h"

#include <optional>

// The drawings of the seven styles. Each draws one look (Up, Down or
// Disabled) over the face box that ButtonFace::redraw has already filled, in the exact
// order of its steps: later steps overdraw earlier ones.

namespace dialvault {

// One drawing: the record it is drawn from and the surface it is drawn onto.
struct StyleContext
{
    const ButtonFace &face;
    ButtonSurface &surface;
    bool drawFocus; // hasFocus and showFocusRect, for this drawing only
};

// Styles built from frames and straight lines only (buttonstyles_flat.cpp).
void drawDoubleBevel(const StyleContext &c, Look look);
void drawClassic3D(const StyleContext &c, Look look);
void drawSoftShadow(const StyleContext &c, Look look);
void drawThin3D(const StyleContext &c, Look look);

void drawGradient(const StyleContext &c, Look look);
void drawRounded(const StyleContext &c, Look look);
void drawBoldFlat(const StyleContext &c, Look look);

// Pieces that several styles share (buttonstyles_shared.cpp).

// The dotted focus rectangle, if this drawing shows the focus.
void drawFocusMark(const StyleContext &c);
// Disabled text: a highlight copy one pixel down and right, under a shadow copy.
void drawEmbossedCaption(const StyleContext &c);
// The outline of styles 3 and 4: its corners cut diagonally, with a pixel of
// `corner` inside each cut when given.
void drawCutOutline(const StyleContext &c, Colour outline, std::optional<Colour> corner);

} // namespace dialvault
