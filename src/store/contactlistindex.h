#pragma once

#include "store/columnorder.h"
#include "store/contactlistrow.h"
#include "store/listorder.h"
#include "store/partquery.h"
#include "store/storeerror.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace dialvault {

// What ordering and narrowing the contact list need of every entry of its
// snapshot, read once so that neither ever reads the entries again: each
// entry's folded name and number digits, which the list is narrowed by as
// `dialvault find` matches, and the keys of each column's order (names and
// notes in the Persian alphabet's, numbers by their digits, row numbers by
// value). A column's order is worked out when it is first asked for, so that
// the one a person asked for is not kept waiting for the others.
//
// Once built, any thread may ask for narrowing and orders; the orders are
// immutable.
class ContactListIndex
{
public:
    // Positions first .. first + count - 1 of the snapshot, in stored order.
    using ReadRows = std::function<Result<ContactListRows>(qint64 first, int count)>;

    // Reads the `count` entries a few thousand at a time, the next few while
    // those read are taken in. Null, without a failure, once `stop` is set.
    static Result<std::shared_ptr<ContactListIndex>> build(qint64 count, const ReadRows &read,
                                                           const std::atomic<bool> &stop);

    qint64 count() const { return m_count; }

    // The entries' order by `column`, worked out at the first call (or
    // waited for, while another thread works it out); the column's keys
    // then go. Null once `stop` is set before it is done.
    std::shared_ptr<const ColumnOrder> order(ListColumn column, const std::atomic<bool> &stop);
    // A column whose order nobody has begun to work out, the likeliest to be
    // asked for first; none when there is none.
    std::optional<ListColumn> unstarted() const;

    // Whether the entry at `position` matches `query` anywhere in its name or
    // number, exactly as PartQuery::matches() decides it.
    bool matches(const PartQuery &query, qint64 position) const;

private:
    // Texts one after another, each from its start to the next one's.
    struct Texts
    {
        std::vector<char16_t> units;
        std::vector<quint32> starts{0};

        void append(QStringView text);
        QStringView at(qint64 position) const;
    };

    // A column's order as it is worked out, under `mutex`.
    struct Ordering
    {
        mutable std::mutex mutex;
        std::condition_variable finished;
        bool working = false;
        std::shared_ptr<const ColumnOrder> order;
    };

    ContactListIndex() = default;
    std::shared_ptr<const ColumnOrder> workOut(ListColumn column, const std::atomic<bool> &stop);

    qint64 m_count = 0;
    Texts m_foldedNames;
    Texts m_numberDigits; // also the numbers' order
    ByteKeys m_nameKeys;
    ByteKeys m_rowNumberKeys;
    // The notes as stored: few lists are ever ordered by note, so their keys
    // are made only when one is.
    Texts m_notes;
    ByteKeys m_noteKeys; // as far as they were made
    // Each column's keys above are used by the one thread working out its
    // order.
    Ordering m_orders[listColumnCount];
    std::mutex m_sorting;
};

} // namespace dialvault
