#include "layout/layoutparts.h"

namespace dialvault {

using namespace layoutparts;

// The picture window: its picture card and an exit button.
const WindowLayoutOf<PictureWindowControls> &pictureWindowLayout()
{
    static const WindowLayoutOf<PictureWindowControls> layout = [] {
        WindowLayoutOf<PictureWindowControls> w;
        w.name = QStringLiteral("Form4");
        w.clientWidth = 4080;
        w.clientHeight = 2460;
        w.caption = QStringLiteral("Form4");
        w.backColour = LayoutColour::system(15);
        w.picture = QStringLiteral(":/form4.jpg");
        w.pictureWords
            = QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "Dialvault، ۱۳۸۳/۵/۲۸، نسخه 2.03"));
        w.font = msSansSerif();

        auto exit = button(QStringLiteral("paintedButton1"), 2880, 1920, 975, 375,
                           QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "خروج")), 0, 0xECE9D8, 1720);
        exit.isCancel = true;
        w.add(exit, &PictureWindowControls::exitButton);
        return w;
    }();
    return layout;
}

} // namespace dialvault
