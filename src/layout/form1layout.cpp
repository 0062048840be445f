#include "layout/layoutparts.h"

namespace dialvault {

using namespace layoutparts;

const WindowLayout &form1Layout()
{
    static const WindowLayout layout = [] {
        WindowLayout w;
        w.name = QStringLiteral("Form1");
        w.clientWidth = 6195;
        w.clientHeight = 3585;
        w.caption = QStringLiteral("Dialvault");
        w.backColour = LayoutColour::rgb(0x008080);
        w.picture = QStringLiteral(":/form1.jpg");
        w.pictureWords = QStringLiteral("دفترچه تلفن");
        w.pointer = PointerShape::Arrow;
        w.hasIcon = true;
        w.font = tahoma();

        const auto mainButton = [](const QString &name, int top, int width, const QString &caption,
                                   int tabIndex, const QString &tip) {
            ControlLayout b = button(name, 480, top, width, 375, caption, tabIndex, 0xC0C0C0, 2461);
            b.toolTip = tip;
            return b;
        };
        const auto entryBox = [](const QString &name, int top, int tabIndex, const QString &tip,
                                 const QString &label) {
            ControlLayout box = textBox(name, 2040, top, 2655, 285, tabIndex);
            box.pointer = PointerShape::Crosshair;
            box.toolTip = tip;
            box.labelledBy = {label};
            return box;
        };

        ControlLayout search = mainButton(QStringLiteral("paintedButton1"), 360, 1392,
                                          QStringLiteral("جستجو"), 4, QStringLiteral("Josto joo"));
        search.isDefault = true;
        ControlLayout exit = mainButton(QStringLiteral("paintedButton6"), 2880, 1395,
                                        QStringLiteral("خروج"), 9, QStringLiteral("khoroj"));
        exit.isCancel = true;
        ControlLayout notes
            = entryBox(QStringLiteral("Text3"), 1680, 3, {}, QStringLiteral("Label5"));
        notes.text = QStringLiteral(" ");
        ControlLayout count = textBox(QStringLiteral("Text5"), 2040, 2040, 615, 285, 13);
        count.font = msSansSerif(178);
        count.enabled = false;
        count.labelledBy = {QStringLiteral("Label6")};
        ControlLayout timer = placed(ControlKind::Timer, QStringLiteral("Timer1"), 0, 0, 0, 0, -1);
        timer.interval = 1;

        w.controls = {
            label(QStringLiteral("Label1"), 5160, 960, 615, 255, QStringLiteral(":نـــــــام"), 0),
            entryBox(QStringLiteral("Text1"), 960, 1,
                     QStringLiteral("در اين قسمت نام را وارد كنيد"), QStringLiteral("Label1")),
            entryBox(QStringLiteral("Text2"), 1320, 2,
                     QStringLiteral("در اين قسمت شماره تلفن را وارد كنيد"),
                     QStringLiteral("Label2")),
            notes,
            search,
            mainButton(QStringLiteral("paintedButton2"), 1440, 1392, QStringLiteral("پاک کردن "), 5,
                       QStringLiteral("pak kardaneh filde ha")),
            label(QStringLiteral("Label2"), 4920, 1320, 1575, 255, QStringLiteral(":شماره تلفن"),
                  6),
            mainButton(QStringLiteral("paintedButton3"), 1800, 1392, QStringLiteral("راهنمايي"), 7,
                       QStringLiteral("rahnama")),
            mainButton(QStringLiteral("paintedButton4"), 2520, 1392, QStringLiteral("معرفي"), 8,
                       QStringLiteral("Moarefi barnameh")),
            exit,
            label(QStringLiteral("Label4"), 3600, 3000, 2415, 255, QStringLiteral("Label4"), 10,
                  LayoutColour::rgb(0xFFFF00)),
            label(QStringLiteral("Label5"), 5040, 1680, 735, 255, QStringLiteral(":يادداشت"), 11),
            label(QStringLiteral("Label6"), 3600, 2040, 2175, 255,
                  QStringLiteral(":تعداد شماره هاي ذخيره شده"), 12),
            count,
            mainButton(QStringLiteral("paintedButton7"), 2160, 1392,
                       QStringLiteral("ليست شماره ها"), 14, QStringLiteral("Liste moshtarak ha")),
            mainButton(QStringLiteral("paintedButton5"), 720, 1392, QStringLiteral("اضافه کردن "),
                       15, QStringLiteral("Ezafeh kardane shomare")),
            mainButton(QStringLiteral("paintedButton8"), 1080, 1392, QStringLiteral("حذف"), 16,
                       QStringLiteral("pak kardan az List")),
            timer,
        };
        return w;
    }();
    return layout;
}

} // namespace dialvault
