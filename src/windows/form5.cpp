#include "windows/form5.h"

#include "button/paintedbutton.h"
#include "layout/failurewords.h"
#include "layout/layoutresources.h"
#include "layout/services.h"
#include "windows/colourpicker.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmenu.h"
#include "windows/contactlistmodel.h"
#include "windows/contactsdrop.h"

#include <QLineEdit>

#include <optional>

namespace dialvault {

namespace {

const QString listNotOpened = QStringLiteral("ليست شماره ها باز نشد.");

// The grid, its data and the colour picker are this window's own controls.
QObject *makeListControl(const ControlLayout &control, QWidget *window)
{
    switch (control.kind) {
    case ControlKind::Grid:
        return new ContactGrid(window);
    case ControlKind::DataControl:
        return new ContactListModel(window);
    case ControlKind::ColourDialog:
        return new ColourPicker(window);
    default:
        return nullptr;
    }
}

// A stored colour, when the text is one: decimal digits of a colour value
// (0x00BBGGRR). Anything else leaves the grid as it is.
std::optional<Colour> storedColour(const QString &text)
{
    bool number = false;
    const qint32 value = text.toInt(&number);
    if (!number || value < 0 || value > 0xFFFFFF)
        return std::nullopt;
    return Colour(value);
}

Colour colourOf(const ControlLayout &control)
{
    return fromQRgb(layoutColour(control.backColour.value_or(LayoutColour::system(5))).rgb());
}

} // namespace

Form5::Form5()
    : FormWindow(form5Layout(), makeListControl)
    , MSFlexGrid1(control<ContactGrid>(QStringLiteral("MSFlexGrid1")))
    , Data1(control<ContactListModel>(QStringLiteral("Data1")))
    , c1(control<ColourPicker>(QStringLiteral("c1")))
    , Text1(control<QLineEdit>(QStringLiteral("Text1")))
{
    connect(control<PaintedButton>(QStringLiteral("paintedButton1")), &PaintedButton::Click, this,
            &FormWindow::unload);
    connect(control<PaintedButton>(QStringLiteral("paintedButton2")), &PaintedButton::Click, this,
            &Form5::changeColour);
    connect(control<PaintedButton>(QStringLiteral("paintedButton3")), &PaintedButton::Click, this,
            &Form5::saveColour);
    load();
}

void Form5::load()
{
    for (const ControlLayout &grid : layout().controls) {
        if (grid.kind == ControlKind::Grid)
            MSFlexGrid1->setBackColor(colourOf(grid));
    }
    if (const auto colour = storedColour(services().readSetting(colourSettingName())))
        MSFlexGrid1->setBackColor(*colour);

    // The same phone book as the main window's, wherever it was decided to
    // live: a file or a server.
    const PhoneBookSource phoneBook = services().phoneBookSource();
    const Status opened = Data1->open(phoneBook);
    MSFlexGrid1->setModel(Data1);
    if (!opened.ok())
        services().messageBox(failureText(listNotOpened, opened.error, phoneBook), MsgOk);

    // Files dropped here go into the phone book the list shows, which is
    // read again to show them; the grid's menu exports it and finds in it.
    ContactsDrop::install(
        this, [phoneBook] { return phoneBook; },
        [this, phoneBook] {
            Data1->open(phoneBook);
            MSFlexGrid1->setModel(Data1);
        });
    ContactListMenu::attach(MSFlexGrid1, phoneBook);
}

void Form5::changeColour()
{
    // Cancel changes nothing: neither the grid nor the held colour.
    const std::optional<Colour> chosen = c1->ShowColor(this, MSFlexGrid1->backColor());
    if (!chosen)
        return;
    MSFlexGrid1->setBackColor(*chosen);
    Text1->setText(QString::number(qint32(*chosen)));
}

void Form5::saveColour()
{
    // A store that cannot be written is not the person's concern here: the
    // grid keeps its colour for this opening.
    services().writeSetting(colourSettingName(), Text1->text());
}

} // namespace dialvault
