#include "layout/layoutparts.h"

namespace dialvault {

using namespace layoutparts;

const WindowLayoutOf<MainWindowControls> &mainWindowLayout()
{
    using C = MainWindowControls;
    static const WindowLayoutOf<C> layout = [] {
        WindowLayoutOf<C> w;
        w.name = QStringLiteral("Form1");
        w.clientWidth = 6195;
        w.clientHeight = 3585;
        w.caption = QStringLiteral("Dialvault");
        w.backColour = LayoutColour::rgb(0x008080);
        w.picture = QStringLiteral(":/form1.jpg");
        w.pictureWords = QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "دفترچه تلفن"));
        w.pointer = PointerShape::Arrow;
        w.hasIcon = true;
        w.font = tahoma();

        const auto mainButton = [](const QString &name, int top, int width, const QString &caption,
                                   int tabIndex, const QString &tip) {
            auto b = button(name, 480, top, width, 375, caption, tabIndex, 0xC0C0C0, 2461);
            b.toolTip = tip;
            return b;
        };
        const auto entryBox = [](const QString &name, int top, int tabIndex, const QString &tip,
                                 const QString &label) {
            auto box = textBox(name, 2040, top, 2655, 285, tabIndex);
            box.pointer = PointerShape::Crosshair;
            box.toolTip = tip;
            box.labelledBy = {label};
            return box;
        };

        auto search = mainButton(QStringLiteral("paintedButton1"), 360, 1392,
                                 QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "جستجو")), 4,
                                 QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "Josto joo")));
        search.isDefault = true;
        auto exit = mainButton(QStringLiteral("paintedButton6"), 2880, 1395,
                               QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "خروج")), 9,
                               QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "khoroj")));
        exit.isCancel = true;
        auto notes = entryBox(QStringLiteral("Text3"), 1680, 3, {}, QStringLiteral("Label5"));
        notes.text = QStringLiteral(" ");
        auto count = textBox(QStringLiteral("Text5"), 2040, 2040, 615, 285, 13);
        count.font = msSansSerif(178);
        count.enabled = false;
        count.labelledBy = {QStringLiteral("Label6")};

        w.add(label(QStringLiteral("Label1"), 5160, 960, 615, 255,
                    QStringLiteral(QT_TRANSLATE_NOOP("Layouts", ":نـــــــام")), 0));
        w.add(entryBox(QStringLiteral("Text1"), 960, 1,
                       QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "در اين قسمت نام را وارد كنيد")),
                       QStringLiteral("Label1")),
              &C::nameBox);
        w.add(entryBox(QStringLiteral("Text2"), 1320, 2,
                       QStringLiteral(
                           QT_TRANSLATE_NOOP("Layouts", "در اين قسمت شماره تلفن را وارد كنيد")),
                       QStringLiteral("Label2")),
              &C::phoneBox);
        w.add(notes, &C::noteBox);
        w.add(search, &C::searchButton);
        w.add(mainButton(QStringLiteral("paintedButton2"), 1440, 1392,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "پاک کردن ")), 5,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "pak kardaneh filde ha"))),
              &C::clearButton);
        w.add(label(QStringLiteral("Label2"), 4920, 1320, 1575, 255,
                    QStringLiteral(QT_TRANSLATE_NOOP("Layouts", ":شماره تلفن")), 6),
              &C::phoneLabel);
        w.add(mainButton(QStringLiteral("paintedButton3"), 1800, 1392,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "راهنمايي")), 7,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "rahnama"))),
              &C::helpButton);
        w.add(mainButton(QStringLiteral("paintedButton4"), 2520, 1392,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "معرفي")), 8,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "Moarefi barnameh"))),
              &C::aboutButton);
        w.add(exit, &C::exitButton);
        w.add(label(QStringLiteral("Label4"), 3600, 3000, 2415, 255, QStringLiteral("Label4"), 10,
                    LayoutColour::rgb(0xFFFF00)),
              &C::clockLabel);
        w.add(label(QStringLiteral("Label5"), 5040, 1680, 735, 255,
                    QStringLiteral(QT_TRANSLATE_NOOP("Layouts", ":يادداشت")), 11));
        w.add(label(QStringLiteral("Label6"), 3600, 2040, 2175, 255,
                    QStringLiteral(QT_TRANSLATE_NOOP("Layouts", ":تعداد شماره هاي ذخيره شده")),
                    12));
        w.add(count, &C::countBox);
        w.add(mainButton(QStringLiteral("paintedButton7"), 2160, 1392,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "ليست شماره ها")), 14,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "Liste moshtarak ha"))),
              &C::listButton);
        w.add(mainButton(QStringLiteral("paintedButton5"), 720, 1392,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "اضافه کردن ")), 15,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "Ezafeh kardane shomare"))),
              &C::addButton);
        w.add(mainButton(QStringLiteral("paintedButton8"), 1080, 1392,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "حذف")), 16,
                         QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "pak kardan az List"))),
              &C::deleteButton);
        w.add(timer(QStringLiteral("Timer1"), 1), &C::clockTimer);
        return w;
    }();
    return layout;
}

} // namespace dialvault
