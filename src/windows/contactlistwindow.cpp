#include "windows/contactlistwindow.h"

#include "button/paintedbutton.h"
#include "desktop/failurewords.h"
#include "desktop/syncrunner.h"
#include "interchange/importfilecheck.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "layout/layoutresources.h"
#include "store/contactlistview.h"
#include "windows/colourpicker.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmenu.h"
#include "windows/contactlistmodel.h"
#include "windows/contactsdrop.h"

#include <QApplication>
#include <QKeyEvent>

#include <optional>

namespace dialvault {

namespace {

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

} // namespace

ContactListWindow::ContactListWindow(const Desktop &desktop)
    : FormWindow(contactListWindowLayout(), desktop.windows)
    , m_desktop(desktop)
{
    build(contactListWindowLayout(), m_controls,
          [this](const ControlLayout &control, QWidget *window) {
              return makeListControl(control, window);
          });
    connect(m_controls.exitButton, &PaintedButton::Click, this, &FormWindow::unload);
    connect(m_controls.changeColourButton, &PaintedButton::Click, this,
            &ContactListWindow::changeColour);
    connect(m_controls.saveColourButton, &PaintedButton::Click, this,
            &ContactListWindow::saveColour);
    connect(m_grid, &ContactGrid::headingClicked, this, &ContactListWindow::orderBy);
    connect(m_controls.findBox, &QLineEdit::textChanged, m_model, &ContactListModel::setFilter);
    connect(m_model, &ContactListModel::viewChanged, this, &ContactListWindow::showMatches);
    // The window's own keys are watched where the application hands them
    // out; a filter installed later runs first.
    qApp->installEventFilter(this);
    load();
}

QObject *ContactListWindow::makeListControl(const ControlLayout &control, QWidget *window)
{
    switch (control.kind) {
    case ControlKind::Grid: {
        m_grid = new ContactGrid(window);
        const QColor cells = layoutColour(control.backColour.value_or(LayoutColour::system(5)));
        m_grid->setCellColour(fromQRgb(cells.rgb()));
        return m_grid;
    }
    case ControlKind::DataControl:
        return m_model = new ContactListModel(window);
    case ControlKind::ColourDialog:
        return m_colourPicker = new ColourPicker(m_desktop.windows, window);
    default:
        return nullptr;
    }
}

void ContactListWindow::load()
{
    if (const auto colour = storedColour(m_desktop.settings.read(colourSettingName())))
        m_grid->setCellColour(*colour);
    m_model->setOrder(ListOrder::fromText(m_desktop.settings.read(orderSettingName())));

    // The same phone book as the main window's, wherever it was decided to
    // live: a file or a server.
    const PhoneBookSource phoneBook = m_desktop.phoneBook.source();
    const Status opened = m_model->open(phoneBook);
    m_grid->setModel(m_model);
    showMatches();
    if (!opened.ok())
        m_desktop.windows.messageBox(
            failureText(tr("ليست شماره ها باز نشد."), opened.error, phoneBook), MsgOk);

    // Files dropped here go into the phone book the list shows, which is
    // read again to show them; the grid's menu exports it and finds in it.
    const qint64 sizeLimit = importLimitOf(m_desktop.settings.read(importLimitSettingName));
    const auto reload = [this, phoneBook] {
        m_model->open(phoneBook);
        m_grid->setModel(m_model);
    };
    ContactsDrop::install(this, m_desktop.windows, phoneBook, sizeLimit, reload);
    ContactListMenu::attach(m_grid, m_desktop.windows, m_desktop.clock, phoneBook, m_desktop.sync);
    // A sync, from here or at start-up, that changed entries shows them.
    if (m_desktop.sync)
        connect(m_desktop.sync, &SyncRunner::entriesChanged, this, reload);
}

void ContactListWindow::orderBy(int column)
{
    if (column < 0 || column >= listColumnCount)
        return;
    ListOrder order{ListColumn(column), false};
    const ListOrder &current = m_model->requestedOrder();
    if (current.column == order.column)
        order.descending = !current.descending;
    m_model->setOrder(order);
    // As the colour: a store that cannot be written keeps the order for
    // this opening only.
    m_desktop.settings.write(orderSettingName(), order.toText());
}

void ContactListWindow::showMatches()
{
    const ContactListView &view = m_model->view();
    // The list then shows every entry in stored order: say why, once,
    // rather than let it pass for the order or the matches asked for. A
    // phone book that could not be opened at all was said already.
    if (!view.failure.ok() && m_model->entryCount() > 0 && !m_orderFailureTold) {
        m_orderFailureTold = true;
        m_desktop.windows.messageBox(failureText(tr("ليست مرتب يا محدود نشد."), view.failure.error,
                                                 m_desktop.phoneBook.source()),
                                     MsgOk);
    }
    m_controls.matchesLabel->setText(tr("%Ln مورد", nullptr, int(view.count)));
}

bool ContactListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.findBox && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
        && !m_controls.findBox->text().isEmpty()) {
        m_controls.findBox->clear();
        return true;
    }
    return FormWindow::eventFilter(watched, event);
}

void ContactListWindow::changeColour()
{
    // Cancel changes nothing: neither the grid nor the held colour.
    const std::optional<Colour> chosen = m_colourPicker->choose(this, m_grid->cellColour());
    if (!chosen)
        return;
    m_grid->setCellColour(*chosen);
    m_controls.heldColourBox->setText(QString::number(qint32(*chosen)));
}

void ContactListWindow::saveColour()
{
    // A store that cannot be written is not the person's concern here: the
    // grid keeps its colour for this opening.
    m_desktop.settings.write(colourSettingName(), m_controls.heldColourBox->text());
}

} // namespace dialvault
