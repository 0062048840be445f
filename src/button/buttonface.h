#pragma once

#include "button/colour.h"
#include "button/fontobject.h"

#include <QChar>
#include <QImage>
#include <QRegion>
#include <QString>

#include <functional>
#include <optional>

namespace dialvault {

// Rectangle as (left, top, right, bottom), right and bottom exclusive.
struct Rect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect &) const = default;
};

// The drawing half of the painted button: the record its looks are drawn
// from, the palette, and the persistent surface image every look is drawn
// into. The widget (PaintedButton) owns one, sets its fields, and shows the
// surface. Kept free of widgets so the drawing can be checked pixel by pixel.
class ButtonFace
{
public:
    enum State : quint8 { Up = 0, Down = 2 };

    ButtonFace(); // builds the system palette, as a new button does

    // The record the looks are drawn from; the widget stores property values here.
    qint32 ButtonType = 2;
    qint32 ColorScheme = 1;
    Colour BackColor; // defaults to system colour 15
    Colour ForeColor; // defaults to system colour 18
    QString Caption;
    FontRef font; // never null
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

    quint8 lastState = Up;
    QString lastCaption;
    QChar accessKey; // lower case; null when the caption has none

    // Called by the clear step of Redraw: the widget schedules a repaint.
    std::function<void()> invalidate;

    // Sets W, H and the three rectangles and resizes the surface.
    // Does not build the region or redraw.
    void setSize(int w, int h);

    void BuildPalette();
    // Builds the window shape for ButtonType, W and H, stores it in `region` and returns it.
    QRegion BuildRegion();
    void UpdateAccessKey();
    void Redraw(quint8 state, bool force = false);

    // The persistent image every look is drawn into (W x H, opaque).
    const QImage &surface() const { return surface_; }

    // Primitives, with the window system's semantics, on the surface.
    void DrawBox(int x, int y, int w, int h, Colour colour, bool frameOnly);
    void DrawLine(int x1, int y1, int x2, int y2, Colour colour);
    void DrawPixel(int x, int y, Colour colour);
    void DrawFocus();
    void DrawCaption(const Rect &r);
    void setTextColour(Colour colour); // "Ink"

private:
    enum class Look { Released, Pressed, Disabled };

    // Sets the pixels of (left, top)-(right, bottom), right and bottom exclusive, clipped.
    void fill(qint64 left, qint64 top, qint64 right, qint64 bottom, QRgb rgb);
    QFont captionFont() const;

    void drawLook(Look look);
    // The outline of styles 3 and 4: its corners cut diagonally, with a
    // pixel of `corner` inside each cut when given.
    void drawCutOutline(Colour outline, std::optional<Colour> corner);
    void drawEmbossedCaption();
    void drawDoubleBevel(Look look);
    void drawClassic3D(Look look);
    void drawGradient(Look look);
    void drawRounded(Look look);
    void drawBoldFlat(Look look);
    void drawCaptionBox();
    void drawSoftShadow(Look look);
    void drawThin3D(Look look);

    QImage surface_;
    Colour textColour_ = 0;
    bool boldOverride_ = false; // style 5 draws its caption bold
    bool drawFocus_ = false; // hasFocus and ShowFocusRect, for one Redraw
};

} // namespace dialvault
