#pragma once

#include "button/buttonkinds.h"
#include "button/buttonsurface.h"
#include "button/colour.h"
#include "button/fontobject.h"

#include <QChar>
#include <QImage>
#include <QRegion>
#include <QString>

#include <functional>

namespace dialvault {

// The drawing half of the painted button: the record its looks are drawn
// from, the palette, the surface every look is drawn into, and Redraw, which
// hands each look to its style. The widget (PaintedButton) owns one, sets its
// fields, and shows the surface. Kept free of widgets so the drawing can be
// checked pixel by pixel.
class ButtonFace
{
public:
    ButtonFace(); // builds the system palette, as a new button does

    // The record the looks are drawn from; the widget stores property values here.
    ButtonStyle ButtonType = ButtonStyle::Classic3D;
    ColourScheme ColorScheme = ColourScheme::SystemColors;
    Colour BackColor; // defaults to system colour 15
    Colour ForeColor; // defaults to system colour 18
    QString Caption;
    FontRef font; // never null
    // Drawn enabled. The widget keeps it equal to its own enabled state.
    bool Enabled = true;
    bool ShowFocusRect = true;
    bool hasFocus = false;
    bool defaultFlag = false; // the container's default-button flag (styles 2 and 3)

    qint32 W = 0;
    qint32 H = 0;
    Rect fullRect; // (0, 0, W, H)
    Rect shiftedRect{2, 2, 0, 0}; // (2, 2, W, H)
    Rect focusRect; // (4, 4, W-4, H-4)
    QRegion region; // last window shape built

    Colour FaceColor = 0;
    Colour LightColor = 0;
    Colour HighlightColor = 0;
    Colour ShadowColor = 0;
    Colour DarkShadowColor = 0;
    Colour TextColor = 0;

    Look lastState = Look::Up;
    QString lastCaption;
    QChar accessKey; // lower case; null when the caption has none

    // Called by the clear step of Redraw: the widget schedules a repaint.
    std::function<void()> invalidate;

    // Sets W, H and the three rectangles and resizes the surface.
    // Does not build the region or redraw.
    void setSize(int w, int h);
    // Device pixels per pixel of the screen the button shows on; the next
    // setSize makes the surface at that resolution.
    void setScale(qreal scale) { surface_.setScale(scale); }

    void BuildPalette();
    // Builds the window shape for ButtonType, W and H, stores it in `region` and returns it.
    QRegion BuildRegion();
    void UpdateAccessKey();
    // Draws the look for `state` (Up or Down), or Disabled when not Enabled.
    // Unless forced, does nothing while the state and the caption are those
    // of the last drawing.
    void Redraw(Look state, bool force = false);

    // The surface's image (W x H, opaque), as the last Redraw left it.
    const QImage &image() const { return surface_.image(); }

private:
    // The look of lastState, as Redraw has just set it.
    void draw();
    void drawStyle(Look look);

    ButtonSurface surface_;
};

} // namespace dialvault
