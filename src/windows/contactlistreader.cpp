#include "windows/contactlistreader.h"

#include "store/serverlink.h"
#include "store/serverschema.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QSqlError>
#include <QVariant>

#include <algorithm>

namespace dialvault {

namespace {

// Enough to resume both directions of several recent jumps.
constexpr std::size_t maxAnchors = 16;

const QStringList &shownFields()
{
    using namespace StoreSchema;
    static const QStringList fields{nameField, phoneField, noteField, rowNumberField};
    return fields;
}

QString selectedColumns(const QString &key)
{
    QStringList columns{key};
    for (const QString &field : shownFields())
        columns << StoreSchema::quoted(field);
    return columns.join(QStringLiteral(", "));
}

ContactListRow rowOf(const QSqlQuery &query)
{
    return {query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
            rowNumberText(query.value(4))};
}

Status failure(Engine engine, const QSqlError &error)
{
    return engine == Engine::Postgres ? Status{serverError(error)} : engineFailure(error);
}

// The first value of the one-row answer to `sql`, or the failure.
Result<QVariant> scalar(QSqlDatabase &db, const QString &sql, Engine engine = Engine::Sqlite)
{
    Result<QVariant> result;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql) || !query.next()) {
        result.error = failure(engine, query.lastError()).error;
        return result;
    }
    result.value = query.value(0);
    return result;
}

template <typename T>
Result<T> failed(const StoreError &error)
{
    Result<T> result;
    result.error = error;
    return result;
}

// The server's extent: its identity column is the key, and the count is
// kept in rows that triggers update.
Result<RowidExtent> readServerExtent(QSqlDatabase &db)
{
    using namespace ServerSchema;
    constexpr Engine engine = Engine::Postgres;
    const auto prepared = scalar(db,
                                 QStringLiteral("SELECT to_regclass('%1') IS NOT NULL AND "
                                                "to_regclass('%2') IS NOT NULL")
                                     .arg(table, countTable),
                                 engine);
    if (!prepared.ok())
        return failed<RowidExtent>(prepared.error);
    if (!prepared.value.toBool())
        return failed<RowidExtent>({ServerCallFailed,
                                    QStringLiteral("no table %1 with its count").arg(table),
                                    FailureCause::ServerNotPrepared});
    const auto fields = scalar(db,
                               QStringLiteral("SELECT string_agg(attname, chr(10)) FROM "
                                              "pg_attribute WHERE attrelid = '%1'::regclass AND "
                                              "attnum > 0 AND NOT attisdropped")
                                   .arg(table),
                               engine);
    if (!fields.ok())
        return failed<RowidExtent>(fields.error);
    const QStringList present = fields.value.toString().split(QLatin1Char('\n'));
    for (const QString &field : shownFields()) {
        if (!present.contains(field))
            return failed<RowidExtent>({ServerCallFailed,
                                        QStringLiteral("no such column: %1").arg(field),
                                        FailureCause::MissingField});
    }
    QSqlQuery range(db);
    range.setForwardOnly(true);
    if (!range.exec(QStringLiteral("SELECT (%1), (SELECT min(%2) FROM %3), (SELECT max(%2) FROM "
                                   "%3)")
                        .arg(countStatement(), keyColumn, table))
        || !range.next())
        return failed<RowidExtent>(failure(engine, range.lastError()).error);
    Result<RowidExtent> result;
    if (!range.value(1).isNull()) {
        result.value.count = std::max<qint64>(0, range.value(0).toLongLong());
        result.value.first = range.value(1).toLongLong();
        result.value.last = range.value(2).toLongLong();
    }
    return result;
}

} // namespace

Result<RowidExtent> readContactExtent(QSqlDatabase &db, Engine engine)
{
    if (engine == Engine::Postgres)
        return readServerExtent(db);
    using namespace StoreSchema;
    const auto hasTable = scalar(
        db,
        QStringLiteral("SELECT EXISTS (SELECT 1 FROM main.sqlite_master WHERE type = 'table' "
                       "AND name = '%1' COLLATE NOCASE)")
            .arg(table));
    if (!hasTable.ok())
        return failed<RowidExtent>(hasTable.error);
    if (!hasTable.value.toBool())
        return failed<RowidExtent>(
            {1, QStringLiteral("no such table: %1").arg(table), FailureCause::NoTable});

    const auto fields = scalar(db,
                               QStringLiteral("SELECT group_concat(name, char(10)) FROM "
                                              "pragma_table_info('%1', 'main')")
                                   .arg(table));
    if (!fields.ok())
        return failed<RowidExtent>(fields.error);
    const QStringList present = fields.value.toString().split(QLatin1Char('\n'));
    for (const QString &field : shownFields()) {
        if (!present.contains(field))
            return failed<RowidExtent>(
                {1, QStringLiteral("no such column: %1").arg(field), FailureCause::MissingField});
    }

    // The kept count makes the size known without walking the table; a file
    // that keeps none yet (the main window adds it on its next opening) is
    // counted once.
    const auto hasCount = scalar(
        db,
        QStringLiteral("SELECT EXISTS (SELECT 1 FROM main.sqlite_master WHERE type = 'table' "
                       "AND name = '%1' COLLATE NOCASE)")
            .arg(countTable));
    if (!hasCount.ok())
        return failed<RowidExtent>(hasCount.error);
    Result<QVariant> count;
    if (hasCount.value.toBool())
        count = scalar(db, QStringLiteral("SELECT (SELECT n FROM main.%1)").arg(countTable));
    if (!hasCount.value.toBool() || (count.ok() && count.value.isNull()))
        count = scalar(db, QStringLiteral("SELECT COUNT(*) FROM main.%1").arg(table));
    if (!count.ok())
        return failed<RowidExtent>(count.error);

    // Two subqueries: min and max of the rowid together in one would walk the table.
    QSqlQuery range(db);
    range.setForwardOnly(true);
    if (!range.exec(QStringLiteral("SELECT (SELECT min(rowid) FROM main.%1), (SELECT max(rowid) "
                                   "FROM main.%1)")
                        .arg(table))
        || !range.next())
        return failed<RowidExtent>(engineFailure(range.lastError()).error);

    Result<RowidExtent> result;
    if (!range.value(0).isNull()) {
        result.value.count = std::max<qint64>(0, count.value.toLongLong());
        result.value.first = range.value(0).toLongLong();
        result.value.last = range.value(1).toLongLong();
    }
    return result;
}

ContactListReader::ContactListReader(const QSqlDatabase &db, Engine engine, const QString &table,
                                     const QString &key, RowidExtent extent)
    : db(db)
    , engine(engine)
    , table(table)
    , key(key)
    , bounds(extent)
{ }

Result<ContactListRows> ContactListReader::rows(qint64 first, int count)
{
    first = std::max<qint64>(first, 0);
    const qint64 available = std::max<qint64>(bounds.count - first, 0);
    count = int(std::clamp<qint64>(count, 0, available));
    if (count == 0)
        return {};
    return bounds.dense() ? rangeRows(first, count) : walkedRows(first, count);
}

QSqlQuery *ContactListReader::prepared(std::optional<QSqlQuery> &query, const QString &condition,
                                       Status &status)
{
    if (!query) {
        query.emplace(db);
        query->setForwardOnly(true);
        if (!query->prepare(QStringLiteral("SELECT %1 FROM %2 %3")
                                .arg(selectedColumns(key), table, condition))) {
            status = failure(engine, query->lastError());
            query.reset();
            return nullptr;
        }
    }
    return &*query;
}

Result<ContactListRows> ContactListReader::rangeRows(qint64 first, int count)
{
    Result<ContactListRows> result;
    QSqlQuery *query = prepared(
        rangeQuery, QStringLiteral("WHERE %1 BETWEEN ? AND ? ORDER BY %1").arg(key), result);
    if (!query)
        return result;
    const qint64 low = bounds.first + first;
    query->bindValue(0, low);
    query->bindValue(1, low + count - 1);
    if (!query->exec())
        return failed<ContactListRows>(failure(engine, query->lastError()).error);
    result.value.resize(count);
    // Placed by rowid, so a row missing from a damaged file leaves one empty
    // row instead of moving every later one.
    while (query->next()) {
        const qint64 position = query->value(0).toLongLong() - low;
        if (position >= 0 && position < count)
            result.value[position] = rowOf(*query);
    }
    if (query->lastError().isValid())
        return failed<ContactListRows>(failure(engine, query->lastError()).error);
    query->finish();
    return result;
}

ContactListReader::Anchor ContactListReader::nearestAnchor(qint64 first, qint64 end) const
{
    // The two ends are always known; a page edge wins when it is nearer.
    Anchor best{0, bounds.first};
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
    consider({bounds.count - 1, bounds.last});
    for (const Anchor &anchor : anchors)
        consider(anchor);
    return best;
}

void ContactListReader::remember(Anchor anchor)
{
    if (anchors.size() == maxAnchors)
        anchors.erase(anchors.begin());
    anchors.push_back(anchor);
}

Result<ContactListRows> ContactListReader::walkedRows(qint64 first, int count)
{
    Result<ContactListRows> result;
    const qint64 end = first + count - 1;
    const Anchor anchor = nearestAnchor(first, end);
    const bool forward = anchor.position <= first;
    QSqlQuery *query = forward
        ? prepared(
            forwardQuery,
            QStringLiteral("WHERE %1 >= ? AND %1 <= ? ORDER BY %1 LIMIT ? OFFSET ?").arg(key),
            result)
        : prepared(
            backwardQuery,
            QStringLiteral("WHERE %1 <= ? AND %1 >= ? ORDER BY %1 DESC LIMIT ? OFFSET ?").arg(key),
            result);
    if (!query)
        return result;
    query->bindValue(0, anchor.rowid);
    query->bindValue(1, forward ? bounds.last : bounds.first);
    query->bindValue(2, count);
    query->bindValue(3, forward ? first - anchor.position : anchor.position - end);
    if (!query->exec())
        return failed<ContactListRows>(failure(engine, query->lastError()).error);

    result.value.resize(count);
    int found = 0;
    qint64 firstRowid = 0;
    qint64 lastRowid = 0;
    while (query->next()) {
        const qint64 rowid = query->value(0).toLongLong();
        if (found == 0)
            firstRowid = rowid;
        lastRowid = rowid;
        result.value[forward ? found : count - 1 - found] = rowOf(*query);
        ++found;
    }
    if (query->lastError().isValid())
        return failed<ContactListRows>(failure(engine, query->lastError()).error);
    query->finish();
    // Edges of a complete page are exact positions to walk from next time.
    if (found == count) {
        remember({first, forward ? firstRowid : lastRowid});
        remember({end, forward ? lastRowid : firstRowid});
    }
    return result;
}

} // namespace dialvault
