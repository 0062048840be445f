#include "layout/layoutparts.h"

namespace dialvault {

using namespace layoutparts;

// The help window: three instructions, each with a red bullet at the right of
// its first line. The bullets take the focus, so each is named by its
// instruction: Tab reads the instructions in turn.
const WindowLayoutOf<HelpWindowControls> &helpWindowLayout()
{
    static const WindowLayoutOf<HelpWindowControls> layout = [] {
        WindowLayoutOf<HelpWindowControls> w;
        w.name = QStringLiteral("Form2");
        w.clientWidth = 4725;
        w.clientHeight = 5730;
        w.caption = QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "راهنما"));
        w.backColour = LayoutColour::system(18);
        w.picture = QStringLiteral(":/form2.jpg");
        w.pointer = PointerShape::Arrow;
        w.hasIcon = true;
        w.font = msSansSerif();

        auto exit = button(QStringLiteral("paintedButton1"), 1800, 4680, 1335, 375,
                           QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "خروج")), 0, 0xC0C0C0, 2355);
        exit.isCancel = true;
        exit.button.colourScheme = 3;
        const auto line = [](const QString &name, int left, int top, int width, const QString &text,
                             int tabIndex) {
            auto l = label(name, left, top, width, 195, text, tabIndex);
            l.font = tahoma();
            l.autoSize = true;
            return l;
        };

        const auto marker
            = [](const QString &name, int top, int tabIndex, const QStringList &lines) {
                  auto b = bullet(name, 4320, top, tabIndex);
                  b.labelledBy = lines;
                  return b;
              };

        w.add(exit, &HelpWindowControls::exitButton);
        w.add(marker(QStringLiteral("Picture1"), 1800, 1, {QStringLiteral("Label1")}));
        w.add(marker(QStringLiteral("Picture3"), 2160, 2,
                     {QStringLiteral("Label2"), QStringLiteral("Label3")}));
        w.add(marker(QStringLiteral("Picture2"), 2880, 3,
                     {QStringLiteral("Label4"), QStringLiteral("Label5")}));
        w.add(line(QStringLiteral("Label1"), 480, 1800, 3675,
                   QStringLiteral(QT_TRANSLATE_NOOP(
                       "Layouts", "براي جستجو نام را وارد كرده و روي جستجو كليك كنيد")),
                   4));
        w.add(line(QStringLiteral("Label2"), 480, 2160, 3735,
                   QStringLiteral(QT_TRANSLATE_NOOP(
                       "Layouts", "براي حذف كردن شماره از دفترچه نام را وارد كرده و روي")),
                   5));
        w.add(line(QStringLiteral("Label3"), 2880, 2520, 1455,
                   QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "حذف كردن كليك كنيد")), 6));
        w.add(line(QStringLiteral("Label4"), 360, 2880, 3840,
                   QStringLiteral(QT_TRANSLATE_NOOP(
                       "Layouts", "براي وارد كردن شماره به دفترچه نام و شماره را وارد كرده")),
                   7));
        w.add(line(QStringLiteral("Label5"), 1920, 3240, 2325,
                   QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "روي اضافه كردن شماره كليك كنيد")),
                   8));
        return w;
    }();
    return layout;
}

} // namespace dialvault
