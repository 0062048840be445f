#include "windows/recentlydeletedwindow.h"

#include "button/paintedbutton.h"
#include "desktop/failurewords.h"
#include "layout/layoutparts.h"
#include "printing/printedlist.h"
#include "store/contactstore.h"
#include "store/storeschema.h"
#include "windows/storequeue.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>

namespace dialvault {

namespace {

enum Column { NameColumn, PhoneColumn, NoteColumn, DeletedAtColumn, ReasonColumn, ColumnCount };

// The program's painted button, as the windows' layouts make theirs.
PaintedButton *makeButton(const QString &caption, QWidget *parent)
{
    auto *button = new PaintedButton(parent);
    button->setButtonType(ButtonStyle::Gradient);
    button->setBackColor(0xC0C0C0);
    button->setFontObject(std::make_shared<FontObject>(layoutparts::tahoma()));
    button->setCaption(caption);
    button->setAccessibleName(caption);
    // The size of the layouts' buttons: 1575 by 375 twips.
    button->setFixedSize(105, 25);
    return button;
}

} // namespace

// The entries as the table shows them: read-only texts.
class DeletedEntriesModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    const QList<DeletedEntry> &entries() const { return m_entries; }
    void setEntries(const QList<DeletedEntry> &entries)
    {
        beginResetModel();
        m_entries = entries;
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_entries.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : ColumnCount;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_entries.size() || role != Qt::DisplayRole)
            return {};
        const DeletedEntry &entry = m_entries.at(index.row());
        switch (index.column()) {
        case NameColumn:
            return entry.fields.name;
        case PhoneColumn:
            // Left to right inside the right-to-left table, so that the
            // groups of digits stay in the order they were typed in.
            return QChar(0x2066) + entry.fields.phone + QChar(0x2069);
        case NoteColumn:
            return entry.fields.note;
        case DeletedAtColumn: {
            // In the person's calendar and time, as the printed list's date.
            const QDateTime local = entry.deletedAt.toLocalTime();
            return printedDateText(local.date()) + QLatin1Char(' ')
                + QLocale().toString(local.time(), QStringLiteral("HH:mm"));
        }
        default:
            return entry.reason == DeletionReason::SyncConflict
                ? RecentlyDeletedWindow::tr("ناسازگاري در همگام سازي")
                : RecentlyDeletedWindow::tr("حذف");
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        using namespace StoreSchema;
        switch (section) {
        case NameColumn:
            return nameField;
        case PhoneColumn:
            return phoneField;
        case NoteColumn:
            return noteField;
        case DeletedAtColumn:
            return RecentlyDeletedWindow::tr("زمان حذف");
        default:
            return RecentlyDeletedWindow::tr("علت");
        }
    }

private:
    QList<DeletedEntry> m_entries;
};

RecentlyDeletedWindow::RecentlyDeletedWindow(const Desktop &desktop, StoreWorker &worker,
                                             QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_desktop(desktop)
    , m_queue(new StoreQueue(worker, this))
    , m_model(new DeletedEntriesModel(this))
    , m_summary(new QLabel(this))
    , m_table(new QTableView(this))
    , m_restoreButton(makeButton(tr("بازگرداندن"), this))
    , m_exitButton(makeButton(tr("خروج"), this))
{
    setWindowTitle(tr("حذف شده هاي اخير"));
    setLayoutDirection(Qt::RightToLeft);
    setFont(layoutparts::tahoma().toQFont());
    resize(620, 360);

    m_summary->setWordWrap(true);
    m_table->setModel(m_model);
    m_table->setAccessibleName(windowTitle());
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setWordWrap(false);
    m_summary->setBuddy(m_table);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_restoreButton);
    buttons->addStretch();
    buttons->addWidget(m_exitButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    connect(m_restoreButton, &PaintedButton::Click, this, &RecentlyDeletedWindow::restoreSelected);
    connect(m_exitButton, &PaintedButton::Click, this, &QWidget::close);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RecentlyDeletedWindow::updateButtons);
    updateButtons();
}

RecentlyDeletedWindow::~RecentlyDeletedWindow() = default;

const QList<DeletedEntry> &RecentlyDeletedWindow::entries() const
{
    return m_model->entries();
}

void RecentlyDeletedWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void RecentlyDeletedWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void RecentlyDeletedWindow::refresh()
{
    auto read = std::make_shared<Result<QList<DeletedEntry>>>();
    m_queue->post(
        [read](ContactStore &store) {
            *read = onOpened(store, [&] { return store.recentlyDeleted(shownLimit); });
        },
        [this, read] {
            if (!read->ok()) {
                m_desktop.windows.messageBox(failureText(tr("حذف شده هاي اخير خوانده نشد."),
                                                         read->error, m_desktop.phoneBook.source()),
                                             MsgOk, std::nullopt, this);
                return;
            }
            showEntries(read->value);
        });
}

void RecentlyDeletedWindow::showEntries(const QList<DeletedEntry> &entries)
{
    m_model->setEntries(entries);
    m_table->resizeColumnsToContents();
    if (entries.isEmpty())
        m_summary->setText(
            tr("در %Ln روز گذشته چيزي حذف نشده است.", nullptr, ContactStore::keptDays));
    else if (entries.size() >= shownLimit)
        m_summary->setText(tr("%Ln مورد از تازه ترين حذف شده ها؛ آنها را كه مي خواهيد انتخاب "
                              "كنيد و «بازگرداندن» را بزنيد.",
                              nullptr, int(entries.size())));
    else
        m_summary->setText(tr("%Ln مورد در %L1 روز گذشته حذف شده است؛ آنها را كه مي خواهيد "
                              "انتخاب كنيد و «بازگرداندن» را بزنيد.",
                              nullptr, int(entries.size()))
                               .arg(ContactStore::keptDays));
    updateButtons();
}

void RecentlyDeletedWindow::updateButtons()
{
    m_restoreButton->setEnabled(m_table->selectionModel()->hasSelection());
}

void RecentlyDeletedWindow::restoreSelected()
{
    QList<qint64> ids;
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    for (const QModelIndex &row : rows)
        ids.append(m_model->entries().at(row.row()).id);
    if (ids.isEmpty())
        return;
    auto outcome = std::make_shared<Result<EntriesRestored>>();
    m_queue->post(
        [outcome, ids](ContactStore &store) {
            *outcome = onOpened(store, [&] { return store.restoreDeleted(ids); });
        },
        [this, outcome] {
            if (!outcome->ok()) {
                m_desktop.windows.messageBox(failureText(tr("بازگردانده نشد."), outcome->error,
                                                         m_desktop.phoneBook.source()),
                                             MsgOk, std::nullopt, this);
                return;
            }
            if (!outcome->value.done())
                m_desktop.windows.messageBox(
                    tr("چيزي بازگردانده نشد: كس ديگري در اين فاصله برخي از اين موارد را بازگردانده "
                       "يا براي هميشه پاك كرده است."),
                    MsgOk, std::nullopt, this);
            else
                Q_EMIT restored();
            refresh();
        });
}

} // namespace dialvault
