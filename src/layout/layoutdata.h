#pragma once

#include "button/fontobject.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace dialvault {

// A colour as the layouts give it: an RGB value or one of the user's system
// colours by its Windows index, which follows the user's scheme at run time.
struct LayoutColour
{
    enum class Kind { Rgb, System };
    Kind kind = Kind::Rgb;
    quint32 value = 0; // 0x00BBGGRR for Rgb, the index for System

    static constexpr LayoutColour rgb(quint32 rrggbb)
    {
        // Written #RRGGBB in the layouts, kept as the program's 0x00BBGGRR.
        return {Kind::Rgb,
                ((rrggbb >> 16) & 0xFFu) | (rrggbb & 0xFF00u) | ((rrggbb & 0xFFu) << 16)};
    }
    static constexpr LayoutColour system(int index) { return {Kind::System, quint32(index)}; }
};

// The mouse pointers the layouts name.
enum class PointerShape { Default, Crosshair, Arrow, Bird };

enum class ControlKind {
    Label,
    TextBox,
    Button,
    PictureBox,
    Grid,
    DataControl,
    ColourDialog,
    Timer
};

// The layout's stored settings for a painted button, under the keys its property bag
// reads ("btype", "tx", "enab", "font", "coltype", "focusr", "bcol", "fcol").
struct ButtonLayout
{
    qint32 buttonType = 3;
    qint32 colourScheme = 1;
    bool enabled = true;
    bool showFocusRect = true;
    quint32 backColour = 0xC0C0C0; // 0x00BBGGRR
    quint32 foreColour = 0;
    FontObject font;
    int extentX = 0; // the control's own record of its size, 0.01 mm
    int extentY = 0;
};

// One control of a window, at its creation. Positions and sizes are twips
// from the client area's top-left corner. Texts a person reads are kept in
// Persian, marked for translation (see layout/layouttext.h).
struct ControlLayout
{
    ControlKind kind = ControlKind::Label;
    QString name; // "Text1", or "Label7(0)" for a member of a control array
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QString text;
    std::optional<FontObject> font; // none: the window's font
    std::optional<LayoutColour> textColour;
    std::optional<LayoutColour> backColour; // painted only by picture boxes and grids
    int tabIndex = -1; // -1: not in the tab order
    QString toolTip;
    bool isDefault = false;
    bool isCancel = false;
    bool visible = true;
    bool enabled = true;
    bool autoSize = false; // a label that takes the size of its text
    bool rightToLeft = false; // a label whose text lies against its right edge
    QChar passwordCharacter; // null: the text shows as typed
    PointerShape pointer = PointerShape::Default;
    int interval = 0; // a timer's, in milliseconds
    ButtonLayout button; // a button's stored settings; its caption is `text`
    // What a screen reader calls the control: the labels that name it, in
    // reading order, or a name of its own where no label on the window does.
    QStringList labelledBy;
    QString spokenName;
};

// One window at its creation: its own settings and every control on it.
struct WindowLayout
{
    QString name; // "Form1" … "Form6"
    int clientWidth = 0; // twips
    int clientHeight = 0;
    QString caption; // the window's title, never drawn on it
    LayoutColour backColour; // shows only where the picture does not reach
    QString picture; // resource path of the background picture
    QString pictureWords; // what the picture's lettering says, for screen readers
    PointerShape pointer = PointerShape::Default;
    bool hasIcon = false;
    FontObject font;
    std::vector<ControlLayout> controls;
};

// A control's layout, of a kind the builder makes as a `Control`.
template <typename Control>
struct ControlOf : ControlLayout
{
};

// A window's layout with where its window keeps the controls it reaches: a
// member of its `Controls` struct, of the class the builder makes for that
// control, so that no control is ever looked up by its name.
template <typename Controls>
struct WindowLayoutOf : WindowLayout
{
    using Keeper = std::function<void(Controls &, QObject *made)>;
    // One for each of `controls`, in order; empty where the window keeps none.
    std::vector<Keeper> keepers;

    // A control the window keeps in `member`.
    template <typename Control>
    void add(const ControlOf<Control> &control, Control *Controls::*member)
    {
        controls.push_back(control);
        keepers.push_back([member](Controls &kept, QObject *made) {
            kept.*member = qobject_cast<Control *>(made);
        });
    }
    // A control the window's code never reaches.
    void add(const ControlLayout &control)
    {
        controls.push_back(control);
        keepers.emplace_back();
    }
};

} // namespace dialvault
