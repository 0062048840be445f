#pragma once

#include "button/colour.h"

#include <QFont>
#include <QImage>
#include <QSizeF>
#include <QString>

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

// The persistent image a button is drawn into, with the window system's
// drawing rules: filled and framed boxes, lines without their end point,
// single pixels, the inverting dotted focus rectangle, and the caption in the
// surface's font and text colour. Whatever falls outside the image is clipped.
class ButtonSurface
{
public:
    // Device pixels per pixel, for the images made from now on: each pixel
    // the drawing rules set covers its block of device pixels, so that the
    // drawing stays crisp on a scaled screen, and the caption is drawn at
    // the device's resolution, smoothed when that is finer. At 1 the image
    // is exactly the window system's.
    void setScale(qreal scale);
    // A new w x h image (in pixels; the scale times that in device pixels),
    // all of one colour: a new image holds whatever memory it got.
    void resize(int w, int h, Colour colour);
    const QImage &image() const { return m_image; }

    // What drawCaption draws, and in which font.
    void setCaption(const QString &caption);
    void setFont(const QFont &font);
    // True draws the caption bold whatever the font; false in the font's own weight.
    void setBold(bool bold);
    // The colour of the captions drawn from now on ("ink").
    void setTextColour(Colour colour);
    // The caption's width and height in the current font. Its "&" markers
    // count, as the window system's text measuring does not process them.
    QSizeF captionSize() const;

    void drawBox(int x, int y, int w, int h, Colour colour, bool frameOnly);
    void drawLine(int x1, int y1, int x2, int y2, Colour colour);
    void drawPixel(int x, int y, Colour colour);
    // Sets the text colour, then inverts every other pixel along the inside of r.
    void drawFocus(const Rect &r, Colour textColour);
    // The caption centred in r, with its "&" markers processed.
    void drawCaption(const Rect &r);

private:
    // Sets the pixels of (left, top)-(right, bottom), right and bottom exclusive, clipped.
    void fill(qint64 left, qint64 top, qint64 right, qint64 bottom, QRgb rgb);
    // Inverts the colour of pixel (x, y), if it is in the image.
    void invert(int x, int y);
    // The device pixel where pixel `v` starts, clamped to the image's `size`.
    int toDevice(qint64 v, int size) const;
    QFont captionFont() const;

    qreal m_scale = 1;
    QImage m_image;
    QString m_caption;
    QFont m_font;
    Colour m_textColour = 0;
    bool m_bold = false;
};

} // namespace dialvault
