#include "store/contactlistreader.h"

#include "store/storeschema.h"

#include <QSqlError>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <limits>

namespace dialvault {

namespace {

// Enough to resume both directions of several recent jumps.
constexpr std::size_t maxAnchors = 16;
// Keys asked for by one statement: a page of an ordered list.
constexpr int scatteredKeys = 64;

// The key, the four fields the list shows, then the entry's key.
QString selectedColumns(const QString &key, const QString &entryKey)
{
    using namespace StoreSchema;
    return QStringList{key,
                       quoted(nameField),
                       quoted(phoneField),
                       quoted(noteField),
                       quoted(rowNumberField),
                       entryKey.isEmpty() ? key : entryKey}
        .join(QStringLiteral(", "));
}

ContactListRow rowOf(const QSqlQuery &query)
{
    return {query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
            rowNumberText(query.value(4)), query.value(5).toLongLong()};
}

template <typename T>
Result<T> failed(const StoreError &error)
{
    Result<T> result;
    result.error = error;
    return result;
}

} // namespace

ContactListReader::ContactListReader(StoreEngine &engine, const QString &table, const QString &key,
                                     KeyExtent extent, const QString &entryKey)
    : m_engine(engine)
    , m_extent(extent)
{
    const QString select
        = QStringLiteral("SELECT %1 FROM %2 ").arg(selectedColumns(key, entryKey), table);
    m_range.text = select + QStringLiteral("WHERE %1 BETWEEN ? AND ? ORDER BY %1").arg(key);
    m_forward.text = select
        + QStringLiteral("WHERE %1 >= ? AND %1 <= ? ORDER BY %1 LIMIT ? OFFSET ?").arg(key);
    m_backward.text = select
        + QStringLiteral("WHERE %1 <= ? AND %1 >= ? ORDER BY %1 DESC LIMIT ? OFFSET ?").arg(key);
    QStringList marks;
    for (int i = 0; i < scatteredKeys; ++i)
        marks << QStringLiteral("?");
    m_scattered.text = select + QStringLiteral("WHERE %1 IN (%2)").arg(key, marks.join(u','));
}

Result<ContactListRows> ContactListReader::rowsAt(std::span<const qint64> positions)
{
    Result<ContactListRows> result;
    result.value.resize(qsizetype(positions.size()));
    const auto inExtent
        = [&](qint64 position) { return position >= 0 && position < m_extent.count; };
    if (!m_extent.dense()) {
        // Walked one at a time: only a list read from a file whose copy
        // could not be made gets here.
        for (std::size_t i = 0; i < positions.size(); ++i) {
            if (!inExtent(positions[i]))
                continue;
            Result<ContactListRows> one = rows(positions[i], 1);
            if (!one.ok())
                return one;
            if (!one.value.isEmpty())
                result.value[qsizetype(i)] = one.value.first();
        }
        return result;
    }
    // Places left over ask for a key outside the extent, which no row has.
    const qint64 noKey = m_extent.first > std::numeric_limits<qint64>::min() ? m_extent.first - 1
                                                                             : m_extent.last + 1;
    for (std::size_t done = 0; done < positions.size(); done += scatteredKeys) {
        const std::span<const qint64> part = positions.subspan(
            done, std::min<std::size_t>(scatteredKeys, positions.size() - done));
        QSqlQuery *query = m_engine.statement(m_scattered, result);
        if (!query)
            return result;
        for (int i = 0; i < scatteredKeys; ++i) {
            const bool asked = std::size_t(i) < part.size() && inExtent(part[i]);
            query->bindValue(i, asked ? m_extent.first + part[i] : noKey);
        }
        if (!query->exec())
            return failed<ContactListRows>(m_engine.failure(query->lastError()).error);
        while (query->next()) {
            const qint64 position = query->value(0).toLongLong() - m_extent.first;
            const ContactListRow row = rowOf(*query);
            for (std::size_t i = 0; i < part.size(); ++i) {
                if (part[i] == position)
                    result.value[qsizetype(done + i)] = row;
            }
        }
        const QSqlError error = query->lastError();
        query->finish();
        if (error.isValid())
            return failed<ContactListRows>(m_engine.failure(error).error);
    }
    return result;
}

Result<ContactListRows> ContactListReader::rows(qint64 first, int count)
{
    first = std::max<qint64>(first, 0);
    const qint64 available = std::max<qint64>(m_extent.count - first, 0);
    count = int(std::clamp<qint64>(count, 0, available));
    if (count == 0)
        return {};
    return m_extent.dense() ? rangeRows(first, count) : walkedRows(first, count);
}

Result<ContactListRows> ContactListReader::rangeRows(qint64 first, int count)
{
    Result<ContactListRows> result;
    QSqlQuery *query = m_engine.statement(m_range, result);
    if (!query)
        return result;
    const qint64 low = m_extent.first + first;
    query->bindValue(0, low);
    query->bindValue(1, low + count - 1);
    if (!query->exec())
        return failed<ContactListRows>(m_engine.failure(query->lastError()).error);
    result.value.resize(count);
    // Placed by key, so a row missing from a damaged file leaves one empty
    // row instead of moving every later one.
    while (query->next()) {
        const qint64 position = query->value(0).toLongLong() - low;
        if (position >= 0 && position < count)
            result.value[position] = rowOf(*query);
    }
    const QSqlError error = query->lastError();
    query->finish();
    if (error.isValid())
        return failed<ContactListRows>(m_engine.failure(error).error);
    return result;
}

ContactListReader::Anchor ContactListReader::nearestAnchor(qint64 first, qint64 end) const
{
    // The two ends are always known; a page edge wins when it is nearer.
    Anchor best{0, m_extent.first};
    qint64 bestCost = first;
    const auto consider = [&](Anchor anchor) {
        qint64 cost = -1;
        if (anchor.position <= first)
            cost = first - anchor.position;
        else if (anchor.position >= end)
            cost = anchor.position - end;
        if (cost >= 0 && cost < bestCost) {
            best = anchor;
            bestCost = cost;
        }
    };
    consider({m_extent.count - 1, m_extent.last});
    for (const Anchor &anchor : m_anchors)
        consider(anchor);
    return best;
}

void ContactListReader::remember(Anchor anchor)
{
    if (m_anchors.size() == maxAnchors)
        m_anchors.erase(m_anchors.begin());
    m_anchors.push_back(anchor);
}

Result<ContactListRows> ContactListReader::walkedRows(qint64 first, int count)
{
    Result<ContactListRows> result;
    const qint64 end = first + count - 1;
    const Anchor anchor = nearestAnchor(first, end);
    const bool forward = anchor.position <= first;
    QSqlQuery *query = m_engine.statement(forward ? m_forward : m_backward, result);
    if (!query)
        return result;
    query->bindValue(0, anchor.key);
    query->bindValue(1, forward ? m_extent.last : m_extent.first);
    query->bindValue(2, count);
    query->bindValue(3, forward ? first - anchor.position : anchor.position - end);
    if (!query->exec())
        return failed<ContactListRows>(m_engine.failure(query->lastError()).error);

    result.value.resize(count);
    int found = 0;
    qint64 firstKey = 0;
    qint64 lastKey = 0;
    while (query->next()) {
        const qint64 key = query->value(0).toLongLong();
        if (found == 0)
            firstKey = key;
        lastKey = key;
        result.value[forward ? found : count - 1 - found] = rowOf(*query);
        ++found;
    }
    const QSqlError error = query->lastError();
    query->finish();
    if (error.isValid())
        return failed<ContactListRows>(m_engine.failure(error).error);
    // Edges of a complete page are exact positions to walk from next time.
    if (found == count) {
        remember({first, forward ? firstKey : lastKey});
        remember({end, forward ? lastKey : firstKey});
    }
    return result;
}

} // namespace dialvault
