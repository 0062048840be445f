#include "layout/layoutparts.h"

namespace dialvault {

using namespace layoutparts;

// The password prompt. Its exit button is not a cancel button, so Esc does
// nothing here.
const WindowLayoutOf<CodePromptWindowControls> &codePromptWindowLayout()
{
    using C = CodePromptWindowControls;
    static const WindowLayoutOf<C> layout = [] {
        WindowLayoutOf<C> w;
        w.name = QStringLiteral("Form6");
        w.clientWidth = 3360;
        w.clientHeight = 1635;
        w.caption = QStringLiteral("Form6");
        w.backColour = LayoutColour::system(15);
        w.picture = QStringLiteral(":/form6.jpg");
        w.font = msSansSerif();

        auto entry = textBox(QStringLiteral("Text1"), 1560, 470, 1335, 285, 0);
        entry.passwordCharacter = u'*';
        entry.textColour = LayoutColour::system(8);
        // Named as the picture's lettering beside it names it.
        entry.spokenName = QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "Password"));
        auto confirm
            = button(QStringLiteral("paintedButton1"), 1680, 960, 975, 375,
                     QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "تائيد")), 1, 0xECE9D8, 1720);
        confirm.isDefault = true;
        auto message
            = label(QStringLiteral("Label1"), 720, 150, 2415, 255, {}, 3, LayoutColour::system(4));
        message.font = tahoma();
        message.rightToLeft = true;

        w.add(entry, &C::codeBox);
        w.add(confirm, &C::confirmButton);
        w.add(button(QStringLiteral("paintedButton2"), 720, 960, 975, 375,
                     QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "خروج")), 2, 0xECE9D8, 1720),
              &C::exitButton);
        w.add(message, &C::messageLabel);
        return w;
    }();
    return layout;
}

} // namespace dialvault
