#include "button/colour.h"

#include <QGuiApplication>
#include <QPalette>

namespace dialvault {

Colour systemColour(int index)
{
    // Read at every call, so a change of the user's colour scheme is followed.
    const QPalette palette = QGuiApplication::palette();
    QPalette::ColorRole role;
    switch (index) {
    case 0: // scroll bar
        role = QPalette::Mid;
        break;
    case 4: // menu background
        role = QPalette::Window;
        break;
    case 6: // window frame
        role = QPalette::WindowText;
        break;
    case 5: // window background (text boxes)
        role = QPalette::Base;
        break;
    case 8: // window text (text boxes)
        role = QPalette::Text;
        break;
    case 13: // highlight (selected items)
        role = QPalette::Highlight;
        break;
    case 14: // highlighted text
        role = QPalette::HighlightedText;
        break;
    case 15: // button face
        role = QPalette::Button;
        break;
    case 16: // button shadow
        role = QPalette::Dark;
        break;
    case 18: // button text
        role = QPalette::ButtonText;
        break;
    case 20: // button highlight
        role = QPalette::Light;
        break;
    case 21: // 3D dark shadow
        role = QPalette::Shadow;
        break;
    case 22: // 3D light
        role = QPalette::Midlight;
        break;
    default:
        // The window system answers 0 (black) for an index it does not know.
        return 0;
    }
    return fromQRgb(palette.color(QPalette::Active, role).rgb());
}

} // namespace dialvault
