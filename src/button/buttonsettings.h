#pragma once

#include "button/buttonkinds.h"
#include "button/colour.h"
#include "button/fontobject.h"

#include <QString>

namespace dialvault {

class PropertyBag;

// The settings a button stores with its window layout, in the order they are
// written and read.
enum class Setting {
    ButtonType,
    Caption,
    Enabled,
    Font,
    ColorScheme,
    ShowFocusRect,
    BackColor,
    ForeColor,
};

// The key a setting is stored under ("BTYPE", "TX", ...), which is also the
// name a property change is reported by.
QString settingKey(Setting setting);

struct ButtonSettings
{
    ButtonStyle buttonType = ButtonStyle::Classic3D;
    QString caption;
    bool enabled = true;
    FontRef font;
    ColourScheme colourScheme = ColourScheme::SystemColors;
    bool showFocusRect = true;
    Colour backColour = 0;
    Colour foreColour = 0;
};

// Keys are compared with case ignored. An absent key takes its default: the
// font `currentFont`, the colours the system's button face and button text.
ButtonSettings readSettings(const PropertyBag &bag, const FontRef &currentFont);
// Writes all eight keys in order, none omitted.
void writeSettings(PropertyBag &bag, const ButtonSettings &settings);

} // namespace dialvault
