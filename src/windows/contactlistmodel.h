#pragma once

#include "store/contactlistrow.h"
#include "store/phonebooksource.h"
#include "store/storeerror.h"

#include <QAbstractTableModel>

#include <memory>
#include <vector>

namespace dialvault {

class ContactListSnapshot;

// The contact list's rows: every entry of table `test` as it stood when the
// model was opened, in stored order, read-only. The four fields are the
// columns, headed by their names; the vertical header (the grid's fixed left
// column) carries no text. The row count is known at once, so a view's scroll
// bar spans the whole table from the start, yet rows are read a page at a
// time as a view asks for them, and only a few pages are kept.
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
    // The same for a phone book on a file or a server.
    Status open(const PhoneBookSource &source);
    // Waits until the file is let go: the private copy that keeps the model
    // as of its opening is complete (see ContactListSnapshot). For
    // measurements and tests; true if in time, or when nothing is open.
    bool waitUntilReleased(int timeoutMs);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Page
    {
        qint64 number = -1;
        quint64 lastUse = 0;
        ContactListRows rows;
    };

    const ContactListRow *row(int position) const;

    std::unique_ptr<ContactListSnapshot> m_snapshot;
    int m_rows = 0;
    mutable std::vector<Page> m_pages;
    mutable quint64 m_useClock = 0;
};

} // namespace dialvault
