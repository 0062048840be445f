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
// from, the palette, the surface every look is drawn into, and redraw(), which
// hands each look to its style. The widget (PaintedButton) owns one, sets its
// fields, and shows the surface. Kept free of widgets so the drawing can be
// checked pixel by pixel.
class ButtonFace
{
public:
    ButtonFace(); // builds the system palette, as a new button does

    // The record the looks are drawn from; the widget stores property values here.
    ButtonStyle buttonType = ButtonStyle::Classic3D;
    ColourScheme colourScheme = ColourScheme::SystemColors;
    Colour backColour; // defaults to system colour 15
    Colour foreColour; // defaults to system colour 18
    QString caption;
    FontRef font; // never null
    // Drawn enabled. The widget keeps it equal to its own enabled state.
    bool enabled = true;
    bool showFocusRect = true;
    bool hasFocus = false;
    bool defaultFlag = false; // the container's default-button flag (styles 2 and 3)

    qint32 width = 0;
    qint32 height = 0;
    Rect fullRect; // (0, 0, width, height)
    Rect shiftedRect{2, 2, 0, 0}; // (2, 2, width, height)
    Rect focusRect; // (4, 4, width - 4, height - 4)
    QRegion region; // last window shape built

    Colour faceColour = 0;
    Colour lightColour = 0;
    Colour highlightColour = 0;
    Colour shadowColour = 0;
    Colour darkShadowColour = 0;
    Colour textColour = 0;

    Look lastState = Look::Up;
    QString lastCaption;
    QChar accessKey; // lower case; null when the caption has none

    // Called by the clear step of redraw(): the widget schedules a repaint.
    std::function<void()> invalidate;

    // Sets width, height and the three rectangles and resizes the surface.
    // Does not build the region or redraw.
    void setSize(int w, int h);
    // Device pixels per pixel of the screen the button shows on; the next
    // setSize makes the surface at that resolution.
    void setScale(qreal scale) { m_surface.setScale(scale); }

    void buildPalette();
    // Builds the window shape for buttonType, width and height, stores it in `region` and returns
    // it.
    QRegion buildRegion();
    void updateAccessKey();
    // Draws the look for `state` (Up or Down), or Disabled when not enabled.
    // Unless forced, does nothing while the state and the caption are those
    // of the last drawing.
    void redraw(Look state, bool force = false);

    // The surface's image (width x height, opaque), as the last redraw() left it.
    const QImage &image() const { return m_surface.image(); }

private:
    // The look of lastState, as redraw() has just set it.
    void draw();
    void drawStyle(Look look);

    ButtonSurface m_surface;
};

} // namespace dialvault
