#include "layout/layoutparts.h"

namespace dialvault {

using namespace layoutparts;

// The about window. The ownership line, the credits and the two addresses
// are the program's own; the addresses use names reserved for examples, so
// they lead nowhere real.
const WindowLayoutOf<AboutWindowControls> &aboutWindowLayout()
{
    using C = AboutWindowControls;
    static const WindowLayoutOf<C> layout = [] {
        WindowLayoutOf<C> w;
        w.name = QStringLiteral("Form3");
        w.clientWidth = 5775;
        w.clientHeight = 5640;
        w.caption = QStringLiteral(QT_TRANSLATE_NOOP("Layouts", " معرفي نرم افزار"));
        w.backColour = LayoutColour::system(6);
        w.picture = QStringLiteral(":/form3.jpg");
        w.pictureWords = QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "دفترچه تلفن"));
        w.pointer = PointerShape::Arrow;
        w.hasIcon = true;
        w.font = msSansSerif();

        const auto line = [](const QString &name, int left, int top, int width, const QString &text,
                             int tabIndex) {
            auto l = label(name, left, top, width, 195, text, tabIndex);
            l.font = tahoma(true);
            l.autoSize = true;
            return l;
        };
        const auto aboutButton = [](const QString &name, int left, const QString &caption,
                                    int tabIndex, int extentX) {
            auto b = button(name, left, 4920, 1335, 375, caption, tabIndex, 0xECE9D8, extentX);
            b.button.buttonType = 2;
            return b;
        };

        auto version = line(QStringLiteral("Label5(0)"), 600, 1440, 735,
                            QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "ver 2.03")), 7);
        version.height = 255;
        version.autoSize = false;
        auto web = line(QStringLiteral("Label4"), 1320, 3120, 2070,
                        QStringLiteral("http://www.dialvault.example"), 12);
        web.pointer = PointerShape::Bird;
        auto mail = line(QStringLiteral("Label6"), 1320, 3600, 1875,
                         QStringLiteral("info@dialvault.example"), 13);
        mail.pointer = PointerShape::Bird;
        // The bullets take the focus; each reads as the line it marks.
        const auto marker = [](const QString &name, int top, int tabIndex, const QString &line) {
            auto b = bullet(name, 5280, top, tabIndex);
            b.labelledBy = {line};
            return b;
        };
        auto exit = aboutButton(QStringLiteral("paintedButton1"), 1560,
                                QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "خروج")), 11, 2143);
        exit.isCancel = true;

        // The phone book's full path, on the free line between the credits
        // and the buttons; outside the tab order, reached by the mouse.
        auto where = textBox(QStringLiteral("Text1"), 480, 4440, 4815, 255, -1);
        where.font = tahoma();
        where.textColour = lightCyan;
        where.spokenName = QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "محل دفترچه تلفن"));

        w.add(marker(QStringLiteral("Picture2"), 1800, 0, QStringLiteral("Label1")));
        w.add(line(QStringLiteral("Label1"), 480, 1800, 4740,
                   QStringLiteral(QT_TRANSLATE_NOOP(
                       "Layouts", "اين نرم افزار متعلق به گروه سازنده ديال والت است")),
                   1));
        w.add(line(QStringLiteral("Label7(0)"), 2520, 2520, 2595,
                   QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "نوشته شده در تاريخ   1383/5/28")),
                   3));
        w.add(line(QStringLiteral("Label3(1)"), 600, 3120, 420,
                   QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "URL :")), 4));
        w.add(line(QStringLiteral("Label3(0)"), 600, 3600, 615,
                   QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "E-mail :")), 5));
        w.add(marker(QStringLiteral("Picture1"), 2520, 6, QStringLiteral("Label7(0)")));
        w.add(version);
        w.add(line(QStringLiteral("Label7(1)"), 720, 4080, 1860,
                   QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "Written By the Dialvault team")),
                   8));
        w.add(line(QStringLiteral("Label25(1)"), 4320, 1440, 975,
                   QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "نگارش: 2.03")), 9));
        w.add(line(QStringLiteral("Label7(2)"), 3360, 4080, 1770,
                   QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "نوشته گروه ديال والت")), 10));
        w.add(exit, &C::exitButton);
        w.add(web);
        w.add(mail);
        w.add(aboutButton(QStringLiteral("paintedButton2"), 2880,
                          QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "برنامه نويس")), 14, 2355),
              &C::programmerButton);
        w.add(where, &C::phoneBookPathBox);
        return w;
    }();
    return layout;
}

} // namespace dialvault
