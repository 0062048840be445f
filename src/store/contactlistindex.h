#pragma once

#include "store/contactlistrow.h"
#include "store/listorder.h"
#include "store/partquery.h"
#include "store/storeerror.h"

#include <atomic>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace dialvault {

// What ordering and narrowing the contact list need of every entry of its
// snapshot, worked out once so that neither ever reads the entries again:
// for each column the entries' positions in its order (names and notes in
// the Persian alphabet's, numbers by their digits, row numbers by value), and
// each entry's folded name and number digits, which the list is narrowed by
// as `dialvault find` matches. Immutable once built, so any thread may read it.
class ContactListIndex
{
public:
    // Positions first .. first + count - 1 of the snapshot, in stored order.
    using ReadRows = std::function<Result<ContactListRows>(qint64 first, int count)>;

    // Reads the `count` entries a few thousand at a time. Null, without a
    // failure, once `stop` is set.
    static Result<std::shared_ptr<const ContactListIndex>> build(qint64 count, const ReadRows &read,
                                                                 const std::atomic<bool> &stop);

    qint64 count() const { return m_count; }

    // The entries' positions ascending by `column`; equal values in stored
    // order.
    std::span<const quint32> order(ListColumn column) const;
    // Whether the entry at `rank` of the column's order has the same value
    // as the one before it.
    bool tiedWithPrevious(ListColumn column, qint64 rank) const;

    // Whether the entry at `position` matches `query` anywhere in its name or
    // number, exactly as PartQuery::matches() decides it.
    bool matches(const PartQuery &query, qint64 position) const;

private:
    // Texts one after another, each from its start to the next one's.
    struct Texts
    {
        std::vector<char16_t> units;
        std::vector<quint32> starts{0};

        void append(const QString &text);
        QStringView at(qint64 position) const;
    };

    struct Order
    {
        std::vector<quint32> positions;
        std::vector<bool> tied;
    };

    ContactListIndex() = default;

    qint64 m_count = 0;
    Texts m_foldedNames;
    Texts m_numberDigits;
    Order m_orders[listColumnCount];
};

} // namespace dialvault
