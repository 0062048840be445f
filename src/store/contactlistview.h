#pragma once

#include "store/listorder.h"
#include "store/storeerror.h"

#include <QString>

#include <atomic>
#include <memory>
#include <span>
#include <vector>

namespace dialvault {

class ContactListIndex;
struct ColumnOrder;

// The contact list as a person ordered and narrowed it: which entries of the
// snapshot it shows, in which order. Row r of the list is the entry at
// position positionAt(r) of the snapshot.
struct ContactListView
{
    ContactListView() = default;
    // Its positions may point into itself.
    ContactListView(const ContactListView &) = delete;
    ContactListView &operator=(const ContactListView &) = delete;

    ListOrder order;
    QString filter; // as typed; empty: every entry
    qint64 count = 0;
    // Why the list could not be ordered or narrowed as asked; it then shows
    // every entry in stored order.
    Status failure;

    qint64 positionAt(qint64 row) const { return m_identity ? row : m_positions[row]; }
    // Every entry in stored order.
    bool isIdentity() const { return m_identity; }

    // Every one of `count` entries, in stored order.
    static std::shared_ptr<const ContactListView> stored(qint64 count);
    // The entries of `index` that `filter` matches (every one when it is
    // empty), in `order`; `sorted` is the index's order by its column.
    // Null when `cancelled` is set before it is done.
    static std::shared_ptr<const ContactListView> of(const ContactListIndex &index,
                                                     std::shared_ptr<const ColumnOrder> sorted,
                                                     const ListOrder &order, const QString &filter,
                                                     const std::atomic<bool> &cancelled);

private:
    bool m_identity = true;
    std::span<const quint32> m_positions;
    // What m_positions points into: the column's order, or a list made for
    // this view.
    std::shared_ptr<const ColumnOrder> m_sorted;
    std::vector<quint32> m_made;
};

} // namespace dialvault
