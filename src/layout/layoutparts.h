#pragma once

#include "button/paintedbutton.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "layout/picturebox.h"
#include "layout/windowlayouts.h"

#include <QTimer>

// Shorthands the window descriptions are written with.
namespace dialvault::layoutparts {

// The fonts the layouts name: Tahoma 8.25 with the Arabic character set, and
// the platform's default dialog font.
inline FontObject tahoma(bool bold = false)
{
    FontObject font;
    font.name = QStringLiteral("Tahoma");
    font.size = 8.25;
    font.weight = bold ? 700 : 400;
    font.bold = bold;
    font.charset = 178;
    return font;
}

inline FontObject msSansSerif(int charset = 0)
{
    FontObject font;
    font.name = QStringLiteral("MS Sans Serif");
    font.size = 8.25;
    font.charset = charset;
    return font;
}

inline constexpr LayoutColour lightCyan = LayoutColour::rgb(0xC0FFFF);
inline constexpr LayoutColour red = LayoutColour::rgb(0xFF0000);

inline ControlLayout placed(ControlKind kind, const QString &name, int left, int top, int width,
                            int height, int tabIndex)
{
    ControlLayout control;
    control.kind = kind;
    control.name = name;
    control.left = left;
    control.top = top;
    control.width = width;
    control.height = height;
    control.tabIndex = tabIndex;
    return control;
}

inline ControlOf<FormLabel> label(const QString &name, int left, int top, int width, int height,
                                  const QString &text, int tabIndex,
                                  LayoutColour colour = lightCyan)
{
    ControlOf<FormLabel> control{
        placed(ControlKind::Label, name, left, top, width, height, tabIndex)};
    control.text = text;
    control.textColour = colour;
    return control;
}

inline ControlOf<FormTextBox> textBox(const QString &name, int left, int top, int width, int height,
                                      int tabIndex)
{
    return {placed(ControlKind::TextBox, name, left, top, width, height, tabIndex)};
}

// A red bullet: a picture box filled with red, showing nothing else.
inline ControlOf<PictureBox> bullet(const QString &name, int left, int top, int tabIndex)
{
    ControlOf<PictureBox> control{
        placed(ControlKind::PictureBox, name, left, top, 135, 255, tabIndex)};
    control.backColour = red;
    return control;
}

// A painted button with the settings every stored button shares: `Gradient`
// style, system colours, enabled, focus shown, black text, Tahoma.
inline ControlOf<PaintedButton> button(const QString &name, int left, int top, int width,
                                       int height, const QString &caption, int tabIndex,
                                       quint32 backRrggbb, int extentX, int extentY = 661)
{
    ControlOf<PaintedButton> control{
        placed(ControlKind::Button, name, left, top, width, height, tabIndex)};
    control.text = caption;
    control.button.backColour = LayoutColour::rgb(backRrggbb).value;
    control.button.font = tahoma();
    control.button.extentX = extentX;
    control.button.extentY = extentY;
    return control;
}

// A timer: no place on the window, and out of the tab order.
inline ControlOf<QTimer> timer(const QString &name, int interval)
{
    ControlOf<QTimer> control{placed(ControlKind::Timer, name, 0, 0, 0, 0, -1)};
    control.interval = interval;
    return control;
}

} // namespace dialvault::layoutparts
