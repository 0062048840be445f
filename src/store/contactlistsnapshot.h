#pragma once

#include "store/contactlistrow.h"
#include "store/phonebooksource.h"
#include "store/storeerror.h"

#include <QString>

#include <memory>
#include <span>
#include <utility>
#include <variant>
#include <vector>

class QThread;

namespace dialvault {

struct ContactListView;

// Table `test` of a phone book as it stood when open() ran, read by position
// in stored order, while the main window goes on adding and deleting.
//
// On a server the same copy is made in a temporary table of the list's own
// session, under a repeatable-read transaction that keeps nobody from
// writing and ends once the copy is complete, so that it does not hold back
// the server's clean-up for as long as the window stays open.
//
// Any thread may ask for rows; the requests take turns.
//
// A read transaction alone would give that view, but under the file's
// rollback journal it shuts every writer out for as long as it lasts. So a
// thread of its own holds the transaction only while it copies the four shown
// fields into a private temporary table on disk (a few tenths of a second per
// million entries); pages asked for meanwhile are read from the file under
// that same transaction. A write from the main window in that time waits for
// the copy (within its busy timeout) and then goes ahead; the copy serves
// the list from then on.
class ContactListSnapshot
{
public:
    ContactListSnapshot();
    ~ContactListSnapshot();
    ContactListSnapshot(const ContactListSnapshot &) = delete;
    ContactListSnapshot &operator=(const ContactListSnapshot &) = delete;

    // Opens the phone book for reading (a file is never created) and takes
    // the snapshot; call once. On failure the snapshot is empty.
    Status open(const PhoneBookSource &source);
    // The number of entries, from the count the file keeps.
    qint64 count() const { return m_count; }
    // Positions first .. first + count - 1, cut to the snapshot. A position
    // without a row (a file whose kept count is wrong) reads as an empty row.
    Result<ContactListRows> rows(qint64 first, int count);
    // The rows at `positions`, in their order; a position outside the
    // snapshot reads as an empty row.
    Result<ContactListRows> rowsAt(std::span<const qint64> positions);
    // Rows first .. first + count - 1 of `view`, cut to it.
    Result<ContactListRows> rows(const ContactListView &view, qint64 first, int count);
    // Waits until the file is let go: the copy is complete, or was given up
    // (then later pages are read from the file as it is). True if in time.
    bool waitUntilReleased(int timeoutMs);

private:
    // A range of positions, or positions one by one.
    using RowsRequest = std::variant<std::pair<qint64, int>, std::vector<qint64>>;
    struct Shared;
    static void serve(Shared &shared, const PhoneBookSource &source);
    Result<ContactListRows> ask(RowsRequest request);

    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<QThread> m_thread;
    qint64 m_count = 0;
};

} // namespace dialvault
