#pragma once

#include "printing/printedlist.h"
#include "store/contactlistrow.h"
#include "store/listorder.h"
#include "store/phonebooksource.h"
#include "store/storeerror.h"

#include <QAbstractTableModel>

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace dialvault {

class ContactListSnapshot;
class ContactListViews;
struct ContactListView;

// The contact list's rows: the entries of table `test` as they stood when the
// model was opened, read-only, in stored order or ordered by a column, and
// narrowed to those matching a text as `dialvault find` matches. The four
// fields are the columns, headed by their names; the vertical header (the
// grid's fixed left column) carries no text. The row count is known at once,
// so a view's scroll bar spans the whole table from the start, yet rows are
// read a page at a time as a view asks for them, and only a few pages are
// kept.
//
// An order or a text asked for is worked out on a thread of its own (see
// ContactListViews) and shown once it is ready: viewChanged() tells it. A new
// order keeps the rows' number and the selection (layoutChanged); a new text
// gives other rows (modelReset).
//
// Entries corrected or deleted from the list since its opening are laid over
// the snapshot (by their key: the texts stored now; hidden), so that a change
// shows at once without reading a million entries again. A corrected entry
// keeps its place in the order and the narrowing of its opening.
class ContactListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ContactListModel(QObject *parent = nullptr);
    ~ContactListModel() override;

    // Opens the phone book at `databasePath` for reading, never creating it.
    // A file that cannot be shown (missing, locked, damaged, not a phone book)
    // comes back as the failure, and the model stays empty.
    Status open(const QString &databasePath);
    // The same for a phone book on a file or a server. The order and text
    // asked for before are asked for again.
    Status open(const PhoneBookSource &source);
    // Waits until the file is let go: the private copy that keeps the model
    // as of its opening is complete (see ContactListSnapshot). For
    // measurements and tests; true if in time, or when nothing is open.
    bool waitUntilReleased(int timeoutMs);

    // Asks for the entries in `order`, and narrowed to those whose name or
    // number holds `filter` (every entry when it is empty).
    void setOrder(const ListOrder &order);
    void setFilter(const QString &filter);
    const ListOrder &requestedOrder() const { return m_order; }
    const QString &requestedFilter() const { return m_filter; }
    // What the rows show now; without the entries hidden since (see
    // shownCount()).
    const ContactListView &view() const { return *m_view; }
    std::shared_ptr<const ContactListView> sharedView() const { return m_view; }
    // The entries of the snapshot, however many the rows show.
    qint64 entryCount() const;
    // The snapshot the rows are read from, for reading them elsewhere (a
    // printout); null before open().
    std::shared_ptr<ContactListSnapshot> snapshot() const { return m_snapshot; }
    // Waits until the order and text asked for last are shown. For
    // measurements and tests; true if in time.
    bool waitUntilShown(int timeoutMs);

    // The entries the rows show: the view's, less those hidden.
    qint64 shownCount() const;
    // The entry shown at `row`, corrections laid over; an empty row (key 0)
    // for a row that could not be read or is not there.
    ContactListRow entryAt(int row) const;
    // The rows as shown, in their order, to be read from any thread (a
    // printout) while the list goes on changing.
    PrintedRows shownRows() const;
    // Shows `entry` as stored now wherever its key is shown.
    void showStored(const ContactListRow &entry);
    // Takes `rows` (of the model, in any order) out of the list as deleted;
    // their entries as they were shown, read in pages of the snapshot
    // however many they are.
    Result<ContactListRows> hideRows(const QList<int> &rows);
    // Takes the entries with `keys` out of the list, or shows again those
    // hidden before (an undone delete) as stored now. False, with nothing
    // changed, when one of them is not an entry the list has shown: it must
    // then be opened again to show it.
    bool hideEntries(const QList<qint64> &keys);
    bool showAgain(const ContactListRows &entries);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Name, phone and note can be corrected; the row number cannot.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // Another order or another set of rows is shown.
    void viewChanged();

private:
    struct Overlay;
    struct Page
    {
        qint64 number = -1;
        quint64 lastUse = 0;
        ContactListRows rows;
    };

    const ContactListRow *row(int position) const;
    void askForView();
    void showLatest();
    // Hides (or shows again) the entries at these snapshot positions,
    // keeping the place of the other rows and the selection.
    void setHidden(const std::vector<qint64> &positions, bool hidden);
    // The view's rows of the hidden entries.
    std::vector<qint64> hiddenRowsOf(const ContactListView &view) const;
    // The overlay made afresh for the view shown.
    void layOver();

    std::shared_ptr<ContactListSnapshot> m_snapshot;
    std::unique_ptr<ContactListViews> m_views;
    std::shared_ptr<const ContactListView> m_view;
    ListOrder m_order;
    QString m_filter;
    int m_rows = 0;
    mutable std::vector<Page> m_pages;
    mutable quint64 m_useClock = 0;

    // Entries as stored now, by key; the snapshot position of each entry
    // the list handed out or hid, by key; the positions hidden now.
    std::unordered_map<qint64, ContactListRow> m_stored;
    mutable std::unordered_map<qint64, qint64> m_positions;
    std::unordered_set<qint64> m_hidden;
    // What the view's rows show now, shared with readers on other threads.
    std::shared_ptr<const Overlay> m_overlay;
};

} // namespace dialvault
