#pragma once

#include "store/contactlistrow.h"
#include "store/storeengine.h"

#include <QString>

#include <span>
#include <vector>

namespace dialvault {

// Reads the entries of one table by their position in key order, within a
// fixed extent; the table must not change while it is read. Dense keys are
// read as a range; otherwise a page is found by walking from the nearest
// known position (either end, or an edge of a page read before), so scrolling
// and jumps to either end stay cheap at any size.
class ContactListReader
{
public:
    // `table` is as written in SQL, such as main.test; `key` its column that
    // orders the entries, such as rowid; `entryKey` the column that holds
    // each entry's key in the phone book, when it is not `key` (a copy's).
    ContactListReader(StoreEngine &engine, const QString &table, const QString &key,
                      KeyExtent extent, const QString &entryKey = {});

    const KeyExtent &extent() const { return m_extent; }

    // Positions first .. first + count - 1, cut to the extent. A position
    // whose row cannot be found reads as an empty row.
    Result<ContactListRows> rows(qint64 first, int count);
    // The rows at `positions`, in their order, wherever they stand. A
    // position outside the extent, or whose row cannot be found, reads as an
    // empty row.
    Result<ContactListRows> rowsAt(std::span<const qint64> positions);

private:
    struct Anchor
    {
        qint64 position;
        qint64 key;
    };

    Result<ContactListRows> rangeRows(qint64 first, int count);
    Result<ContactListRows> walkedRows(qint64 first, int count);
    Anchor nearestAnchor(qint64 first, qint64 end) const;
    void remember(Anchor anchor);

    StoreEngine &m_engine;
    EngineSql m_range;
    EngineSql m_forward;
    EngineSql m_backward;
    EngineSql m_scattered; // the rows of a few keys at once
    KeyExtent m_extent;
    std::vector<Anchor> m_anchors; // the most recent page edges, oldest first
};

} // namespace dialvault
