#include "windows/contactlistwindow.h"

#include "button/paintedbutton.h"
#include "desktop/failurewords.h"
#include "desktop/syncrunner.h"
#include "interchange/importfilecheck.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "layout/layoutresources.h"
#include "store/contactlistview.h"
#include "store/edithistory.h"
#include "windows/colourpicker.h"
#include "windows/contactcelleditor.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmenu.h"
#include "windows/contactlistmodel.h"
#include "windows/contactsdrop.h"
#include "windows/recentlydeletedwindow.h"
#include "windows/storequeue.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>
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

// The row with the texts of an entry as stored now.
ContactListRow withTexts(ContactListRow row, const EntryTexts &texts)
{
    row.name = texts.name;
    row.phone = texts.phone;
    row.note = texts.note;
    return row;
}

} // namespace

ContactListWindow::ContactListWindow(const Desktop &desktop)
    : ContactListWindow(desktop, nullptr, nullptr)
{ }

ContactListWindow::ContactListWindow(const Desktop &desktop, StoreWorker &worker,
                                     EditHistory &history)
    : ContactListWindow(desktop, &worker, &history)
{ }

ContactListWindow::ContactListWindow(const Desktop &desktop, StoreWorker *worker,
                                     EditHistory *history)
    : FormWindow(contactListWindowLayout(), desktop.windows)
    , m_desktop(desktop)
    , m_ownHistory(history ? nullptr : std::make_unique<EditHistory>())
    , m_ownWorker(worker ? nullptr : std::make_unique<StoreWorker>(desktop.phoneBook.source()))
    , m_history(history ? *history : *m_ownHistory)
    , m_worker(worker ? *worker : *m_ownWorker)
    , m_undoAction(undoText())
    , m_redoAction(redoText())
    , m_deleteAction(deleteText())
    , m_recentlyDeletedAction(recentlyDeletedText())
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

    connect(&m_undoAction, &QAction::triggered, this, &ContactListWindow::undo);
    connect(&m_redoAction, &QAction::triggered, this, &ContactListWindow::redo);
    connect(&m_deleteAction, &QAction::triggered, this, &ContactListWindow::deleteSelected);
    connect(&m_recentlyDeletedAction, &QAction::triggered, this,
            &ContactListWindow::showRecentlyDeleted);
    // Told on whichever thread recorded or undid the step; on another, queued.
    connect(&m_history, &EditHistory::changed, this, &ContactListWindow::updateEditActions);
    connect(m_grid, &ContactGrid::cellsChanged, this, &ContactListWindow::updateEditActions);
    m_queue = new StoreQueue(m_worker, this);
    // The window's own keys are watched where the application hands them
    // out; a filter installed later runs first.
    qApp->installEventFilter(this);
    load();
    // After load(): its box watches keys before the window does.
    m_editor = new ContactCellEditor(m_grid, m_model);
    connect(m_editor, &ContactCellEditor::corrected, this, &ContactListWindow::correct);
    updateEditActions();
}

ContactListWindow::~ContactListWindow()
{
    // The editor watches every event of the application: it goes while the
    // grid and its box are whole, not among the grid's children as they are
    // taken apart.
    delete m_editor;
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
    // read again to show them, as one step of the history; the grid's menu
    // exports it and finds in it.
    const qint64 sizeLimit = importLimitOf(m_desktop.settings.read(importLimitSettingName));
    ContactsDrop::install(
        this, m_desktop.windows, phoneBook, sizeLimit,
        [this] {
            reload();
            tellEntriesChanged();
        },
        [this](const StoredKeys &stored) { m_history.recordImport(stored); });
    ContactListMenu::attach(
        m_grid, m_desktop.windows, m_desktop.clock, phoneBook,
        {&m_undoAction, &m_redoAction, &m_deleteAction, &m_recentlyDeletedAction}, m_desktop.sync);
    // A sync, from here or at start-up, that changed entries shows them.
    if (m_desktop.sync)
        connect(m_desktop.sync, &SyncRunner::entriesChanged, this, &ContactListWindow::reload);
}

void ContactListWindow::reload()
{
    // Where the person was, as near as the rows now allow.
    const int top = m_grid->topRow();
    const int row = m_grid->currentRow();
    const int column = m_grid->currentColumn();
    const Status opened = m_model->open(m_desktop.phoneBook.source());
    if (!opened.ok()) {
        m_desktop.windows.messageBox(
            failureText(tr("ليست شماره ها باز نشد."), opened.error, m_desktop.phoneBook.source()),
            MsgOk);
        return;
    }
    m_grid->setCurrentCell(row, column);
    m_grid->verticalScrollBar()->setValue(top);
    showMatches();
}

QList<int> ContactListWindow::selectedRows() const
{
    if (!m_grid->selectedRows().isEmpty())
        return m_grid->selectedRows();
    QList<int> rows;
    if (m_grid->currentRow() < 0)
        return rows;
    const int current = m_grid->currentRow();
    const int end = m_grid->selectionEndRow();
    for (int row = std::min(current, end); row <= std::max(current, end); ++row)
        rows.append(row);
    return rows;
}

void ContactListWindow::updateEditActions()
{
    m_undoAction.setEnabled(m_history.canUndo());
    m_redoAction.setEnabled(m_history.canRedo());
    m_deleteAction.setEnabled(m_grid->currentRow() >= 0);
}

void ContactListWindow::tellEntriesChanged()
{
    QMetaObject::invokeMethod(this, &ContactListWindow::entriesChanged, Qt::QueuedConnection);
}

void ContactListWindow::correct(const ContactListRow &entry, int column, const QString &text)
{
    const EntryTexts expected{entry.name, entry.phone, entry.note};
    EntryTexts now = expected;
    (column == 0 ? now.name : column == 1 ? now.phone : now.note) = text;
    // Shown at once; what the store then says stands.
    m_model->showStored(withTexts(entry, now));
    auto outcome = std::make_shared<Result<EntryNow>>();
    m_queue->post(
        [outcome, key = entry.key, expected, now](ContactStore &store) {
            *outcome = onOpened(store, [&] { return store.correctEntry(key, expected, now); });
        },
        [this, outcome, entry, expected, now] {
            if (!outcome->ok()) {
                m_model->showStored(entry);
                m_desktop.windows.messageBox(failureText(tr("اصلاح ذخيره نشد."), outcome->error,
                                                         m_desktop.phoneBook.source()),
                                             MsgOk);
                return;
            }
            const EntryNow &stored = outcome->value;
            switch (stored.state) {
            case EntryState::AsExpected:
                m_history.recordCorrection(entry.key, expected, now);
                return;
            case EntryState::ChangedMeanwhile: {
                m_model->showStored(withTexts(entry, stored.texts));
                m_desktop.windows.messageBox(
                    tr("كس ديگري در اين فاصله اين شماره را تغيير داده است و اصلاح ذخيره نشد. "
                       "آنچه اكنون ذخيره است نشان داده مي شود."),
                    MsgOk);
                return;
            }
            case EntryState::DeletedMeanwhile:
                m_model->showStored(entry);
                if (!m_model->hideEntries({entry.key}))
                    reload();
                m_desktop.windows.messageBox(
                    tr("كس ديگري در اين فاصله اين شماره را حذف كرده است و اصلاح ذخيره نشد."),
                    MsgOk);
                tellEntriesChanged();
                return;
            }
        });
}

void ContactListWindow::deleteSelected()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    // Gone from the rows at once; back if the store does not delete them.
    const Result<ContactListRows> hidden = m_model->hideRows(rows);
    if (!hidden.ok()) {
        m_desktop.windows.messageBox(
            failureText(tr("حذف نشد."), hidden.error, m_desktop.phoneBook.source()), MsgOk);
        return;
    }
    if (hidden.value.isEmpty())
        return;
    QList<KeyedEntry> entries;
    entries.reserve(hidden.value.size());
    for (const ContactListRow &row : hidden.value)
        entries.append({row.key, {row.name, row.phone, row.note}});
    auto outcome = std::make_shared<Result<EntriesDeleted>>();
    m_queue->post(
        [outcome, entries](ContactStore &store) {
            *outcome = onOpened(store, [&] { return store.deleteEntries(entries); });
        },
        [this, outcome, entries, shown = hidden.value] {
            if (outcome->ok() && !outcome->value.refused) {
                m_history.recordDelete(entries, outcome->value.ids);
                tellEntriesChanged();
                return;
            }
            m_model->showAgain(shown);
            if (!outcome->ok()) {
                m_desktop.windows.messageBox(
                    failureText(tr("حذف نشد."), outcome->error, m_desktop.phoneBook.source()),
                    MsgOk);
                return;
            }
            // Nothing was deleted; the list shows those entries as they are now.
            QList<qint64> gone;
            for (const EntryNow &now : std::as_const(outcome->value.meanwhile)) {
                if (now.state == EntryState::DeletedMeanwhile) {
                    gone.append(now.key);
                    continue;
                }
                const auto before = std::find_if(shown.begin(), shown.end(), [&](const auto &row) {
                    return row.key == now.key;
                });
                if (before != shown.end())
                    m_model->showStored(withTexts(*before, now.texts));
            }
            if (!m_model->hideEntries(gone))
                reload();
            m_desktop.windows.messageBox(
                tr("كس ديگري در اين فاصله شماره هايي را تغيير داده يا حذف كرده است و چيزي حذف نشد. "
                   "آنچه اكنون ذخيره است نشان داده مي شود."),
                MsgOk);
        });
}

void ContactListWindow::undo()
{
    step(true);
}

void ContactListWindow::redo()
{
    step(false);
}

void ContactListWindow::step(bool back)
{
    if (back ? !m_history.canUndo() : !m_history.canRedo())
        return;
    auto outcome = std::make_shared<Result<EditOutcome>>();
    m_queue->post(
        [outcome, back, &history = m_history](ContactStore &store) {
            *outcome
                = onOpened(store, [&] { return back ? history.undo(store) : history.redo(store); });
        },
        [this, outcome, back] {
            if (!outcome->ok()) {
                m_desktop.windows.messageBox(
                    failureText(back ? tr("كار برگردانده نشد.") : tr("كار دوباره انجام نشد."),
                                outcome->error, m_desktop.phoneBook.source()),
                    MsgOk);
                return;
            }
            if (outcome->value.refused) {
                m_desktop.windows.messageBox(
                    back ? tr("برگردانده نشد: كس ديگري در اين فاصله شماره را تغيير داده يا حذف "
                              "كرده است.")
                         : tr("دوباره انجام نشد: كس ديگري در اين فاصله شماره را تغيير داده يا "
                              "حذف كرده است."),
                    MsgOk);
                return;
            }
            if (!outcome->value.step)
                return;
            // Entries put back get new keys: only a fresh reading shows them.
            reload();
            tellEntriesChanged();
        });
}

void ContactListWindow::showRecentlyDeleted()
{
    if (!m_recentlyDeleted) {
        m_recentlyDeleted = new RecentlyDeletedWindow(m_desktop, m_worker, this);
        connect(m_recentlyDeleted, &RecentlyDeletedWindow::restored, this, [this] {
            reload();
            tellEntriesChanged();
        });
    }
    m_desktop.windows.showWindow(m_recentlyDeleted, this);
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
    m_controls.matchesLabel->setText(tr("%Ln مورد", nullptr, int(m_model->shownCount())));
}

bool ContactListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()
        || static_cast<QWidget *>(watched)->window() != this)
        return FormWindow::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (watched == m_controls.findBox && key->key() == Qt::Key_Escape
        && !m_controls.findBox->text().isEmpty()) {
        m_controls.findBox->clear();
        return true;
    }
    // The main window's keys work here too, even in a text box, whose own
    // Ctrl+Z stays its own.
    const bool anywhere = modifiers == (Qt::ControlModifier | Qt::AltModifier);
    const bool inGrid = watched == m_grid && modifiers == Qt::ControlModifier;
    if ((anywhere || inGrid) && key->key() == Qt::Key_Z) {
        undo();
        return true;
    }
    if (((anywhere || inGrid) && key->key() == Qt::Key_Y)
        || (modifiers == (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)
            && key->key() == Qt::Key_Z)) {
        redo();
        return true;
    }
    if (watched == m_grid && modifiers == Qt::NoModifier && key->key() == Qt::Key_Delete) {
        deleteSelected();
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
