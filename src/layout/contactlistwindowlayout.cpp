#include "layout/layoutparts.h"

namespace dialvault {

using namespace layoutparts;

// The contact list: the grid over table `test`, its data control below the
// visible area, the colour picker, the hidden box that holds the chosen
// colour until it is saved, and in the free band above the grid the find
// box with its caption and the number of entries the list shows.
const WindowLayoutOf<ContactListWindowControls> &contactListWindowLayout()
{
    using C = ContactListWindowControls;
    static const WindowLayoutOf<C> layout = [] {
        WindowLayoutOf<C> w;
        w.name = QStringLiteral("Form5");
        w.clientWidth = 7395;
        w.clientHeight = 4890;
        w.caption = QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "ليست مشترك ها"));
        w.backColour = LayoutColour::system(15);
        w.picture = QStringLiteral(":/form5.jpg");
        w.font = tahoma();

        auto exit = button(QStringLiteral("paintedButton1"), 1200, 4200, 1575, 375,
                           QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "خروج")), 0, 0xC0C0C0, 2778);
        exit.isCancel = true;
        ControlLayout grid
            = placed(ControlKind::Grid, QStringLiteral("MSFlexGrid1"), 600, 960, 6135, 2895, 3);
        grid.backColour = LayoutColour::system(5);
        grid.textColour = LayoutColour::system(8);
        grid.font = tahoma();
        // No label stands beside the grid; the window's caption says what it lists.
        grid.spokenName = w.caption;
        auto held = textBox(QStringLiteral("Text1"), 5040, 360, 1335, 285, 4);
        held.visible = false;
        ControlLayout data
            = placed(ControlKind::DataControl, QStringLiteral("Data1"), 2520, 8000, 2775, 375, -1);
        data.text = QStringLiteral("Data1");
        data.visible = false;

        w.add(exit, &C::exitButton);
        w.add(button(QStringLiteral("paintedButton2"), 3000, 4200, 1575, 375,
                     QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "تغير رنگ")), 1, 0xC0C0C0, 2778),
              &C::changeColourButton);
        w.add(button(QStringLiteral("paintedButton3"), 4800, 4200, 1575, 375,
                     QStringLiteral(QT_TRANSLATE_NOOP("Layouts", "ذخيره رنگ")), 2, 0xC0C0C0, 2778),
              &C::saveColourButton);
        w.add(grid);
        w.add(held, &C::heldColourBox);
        w.add(data);
        w.add(placed(ControlKind::ColourDialog, QStringLiteral("c1"), 240, 120, 0, 0, -1));

        w.add(label(QStringLiteral("Label1"), 4260, 510, 735, 255,
                    QStringLiteral(QT_TRANSLATE_NOOP("Layouts", ":جستجو")), 5));
        auto find = textBox(QStringLiteral("Text2"), 2040, 480, 2160, 285, 6);
        find.toolTip = QStringLiteral(
            QT_TRANSLATE_NOOP("Layouts", "بخشي از نام يا شماره؛ Esc همه را نشان مي دهد"));
        find.labelledBy = {QStringLiteral("Label1")};
        w.add(find, &C::findBox);
        auto matches = label(QStringLiteral("Label2"), 600, 510, 1380, 255, QString(), 7);
        matches.rightToLeft = true;
        w.add(matches, &C::matchesLabel);
        return w;
    }();
    return layout;
}

} // namespace dialvault
