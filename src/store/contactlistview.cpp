#include "store/contactlistview.h"

#include "store/columnorder.h"
#include "store/contactlistindex.h"
#include "store/partquery.h"

namespace dialvault {

namespace {

// Often enough that a keystroke's new search starts within a millisecond.
constexpr qint64 cancelCheckEvery = 16384;

} // namespace

std::shared_ptr<const ContactListView> ContactListView::stored(qint64 count)
{
    auto view = std::make_shared<ContactListView>();
    view->count = count;
    return view;
}

std::shared_ptr<const ContactListView>
ContactListView::of(const ContactListIndex &index, std::shared_ptr<const ColumnOrder> sorted,
                    const ListOrder &order, const QString &filter,
                    const std::atomic<bool> &cancelled)
{
    auto view = std::make_shared<ContactListView>();
    view->order = order;
    view->filter = filter;
    const qint64 count = index.count();
    const PartQuery query(filter);
    const bool narrowed = !query.isEmpty();

    // Which entries match, in stored order, as the index keeps their texts:
    // one pass through memory in the order it lies.
    std::vector<bool> matching;
    qint64 matched = count;
    if (narrowed) {
        matching.resize(std::size_t(count));
        matched = 0;
        for (qint64 position = 0; position < count; ++position) {
            if (position % cancelCheckEvery == 0 && cancelled)
                return nullptr;
            if (index.matches(query, position)) {
                matching[position] = true;
                ++matched;
            }
        }
    }
    view->m_made.reserve(std::size_t(matched));

    if (!order.column) {
        if (!narrowed && !order.descending) {
            view->count = count;
            return view;
        }
        view->m_identity = false;
        for (qint64 i = 0; i < count; ++i) {
            if (i % cancelCheckEvery == 0 && cancelled)
                return nullptr;
            const qint64 position = order.descending ? count - 1 - i : i;
            if (!narrowed || matching[position])
                view->m_made.push_back(quint32(position));
        }
    } else {
        const std::vector<quint32> &positions = sorted->positions;
        view->m_identity = false;
        if (!narrowed && !order.descending) {
            view->m_positions = positions;
            view->m_sorted = std::move(sorted);
            view->count = count;
            return view;
        }
        const auto keep = [&](qint64 rank) {
            const quint32 position = positions[rank];
            if (!narrowed || matching[position])
                view->m_made.push_back(position);
        };
        if (!order.descending) {
            for (qint64 rank = 0; rank < count; ++rank) {
                if (rank % cancelCheckEvery == 0 && cancelled)
                    return nullptr;
                keep(rank);
            }
        } else {
            // Groups of equal values from the last, each in stored order.
            qint64 end = count;
            while (end > 0) {
                if (end % cancelCheckEvery == 0 && cancelled)
                    return nullptr;
                qint64 start = end - 1;
                while (start > 0 && sorted->tied[start])
                    --start;
                for (qint64 rank = start; rank < end; ++rank)
                    keep(rank);
                end = start;
            }
        }
    }
    if (cancelled)
        return nullptr;
    view->m_positions = view->m_made;
    view->count = qint64(view->m_made.size());
    return view;
}

} // namespace dialvault
