#include "store/contactstore.h"

#include "store/storeengine.h"
#include "store/storefailure.h"

#include <QSqlError>
#include <QUuid>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace dialvault {

namespace {

// How often a delete follows a name's entries that others delete under it
// before it gives up.
constexpr int maxDeleteAttempts = 100;

// What is open: nothing, the whole table, or a name query's result.
enum class Opened { Nothing, Table, Query };

// An add sent again must be the same add: the texts decide, not the row
// number, which follows the count shown.
bool sameTexts(const ContactEntry &a, const ContactEntry &b)
{
    return a.name == b.name && a.phone == b.phone && a.note == b.note;
}

// An add that reached the server, or may have, without an answer.
struct PendingAdd
{
    ContactEntry entry;
    QString key;
};

} // namespace

struct ContactStore::Impl
{
    PhoneBookSource source;
    std::unique_ptr<StoreEngine> engine;

    Opened opened = Opened::Nothing;
    std::optional<qint64> queryRow; // the first match of the name query
    QString queryName;

    std::vector<PendingAdd> pending;
    QList<SettledAdd> settled;

    // A new connection sends again the adds whose answer was lost.
    Status open()
    {
        const int before = engine->generation();
        Status status = engine->open();
        if (!status.ok() || engine->generation() == before)
            return status;
        for (auto add = pending.begin(); add != pending.end();) {
            const Status sent = sendAdd(add->entry, add->key);
            if (sent.ok()) {
                settled.append({add->entry});
                add = pending.erase(add);
            } else if (engine->connectionBroke(sent)) {
                return sent;
            } else {
                ++add; // refused now; sent again with the next connection
            }
        }
        return status;
    }

    Status sendAdd(const ContactEntry &entry, const QString &key)
    {
        Status status;
        const EngineSql &sql = engine->insertStatement();
        QSqlQuery *query = engine->statement(sql, status);
        if (!query)
            return status;
        query->bindValue(0, textValue(entry.name));
        query->bindValue(1, textValue(entry.phone));
        query->bindValue(2, textValue(entry.note));
        query->bindValue(3, entry.rowNumber);
        query->bindValue(4, key);
        if (!query->exec())
            return engine->failure(query->lastError(), sql.right);
        query->finish();
        return status;
    }

    // Runs `sql` with `values`; `query` is left on its answer. A connection
    // that broke is opened again first, and a statement that failed because
    // the connection broke is run once more on a new one: every statement
    // of the store may run twice (reads, a delete by key, an add by its
    // client-made key). A change sent on a connection that broke, when no
    // new connection can be had, ends as OutcomeUnknown; `resent` tells that
    // it was sent twice.
    Status execute(const EngineSql &sql, const QVariantList &values, QSqlQuery *&query,
                   bool change = false, bool *resent = nullptr)
    {
        Status status;
        bool sent = false;
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!engine->isOpen()) {
                if (Status reopened = open(); !reopened.ok())
                    return sent ? outcomeUnknown(reopened) : reopened;
            }
            query = engine->statement(sql, status);
            if (query) {
                for (int i = 0; i < values.size(); ++i)
                    query->bindValue(i, values.at(i));
                if (query->exec()) {
                    if (resent)
                        *resent = sent;
                    return {};
                }
                status = engine->failure(query->lastError(), sql.right);
            }
            // Refused by an engine that answered: nothing of this attempt
            // is stored, but an earlier one may have been.
            if (!engine->connectionBroke(status))
                return sent ? outcomeUnknown(status) : status;
            sent = sent || (change && query);
        }
        return sent ? outcomeUnknown(status) : status;
    }

    // The first key of `sql`'s answer, NoCurrentRecord when there is none.
    Result<qint64> firstKey(const EngineSql &sql, const QVariantList &values)
    {
        Result<qint64> result;
        QSqlQuery *query = nullptr;
        result.error = execute(sql, values, query).error;
        if (!result.ok())
            return result;
        const bool found = query->next();
        const QSqlError error = query->lastError();
        if (found)
            result.value = query->value(0).toLongLong();
        query->finish();
        if (!found)
            result.error = (error.isValid() ? engine->failure(error, sql.right)
                                            : storeFailure(NoCurrentRecord))
                               .error;
        return result;
    }

    // The row that a read or delete works on: the first match of the query,
    // or the first row of the table when the table is open.
    Result<qint64> currentRow()
    {
        Result<qint64> result;
        switch (opened) {
        case Opened::Nothing:
            result.error = storeFailure(ObjectNotSet).error;
            return result;
        case Opened::Query:
            if (queryRow)
                result.value = *queryRow;
            else
                result.error = storeFailure(NoCurrentRecord).error;
            return result;
        case Opened::Table:
            break;
        }
        return firstKey(engine->firstEntryStatement(), {});
    }

    // The first entry of what is open as the phone book is now: the name
    // query run again, or the table's first entry; NoCurrentRecord when
    // there is none.
    Result<qint64> firstMatchNow()
    {
        if (opened == Opened::Query)
            return firstKey(engine->nameQueryStatement(), {textValue(queryName)});
        return currentRow();
    }
};

ContactStore::ContactStore(const QString &folder)
    : ContactStore(PhoneBookSource::inFolder(folder))
{ }

ContactStore::ContactStore(const PhoneBookSource &source)
    : d(std::make_unique<Impl>())
{
    d->source = source;
    d->engine = makeStoreEngine(source);
}

ContactStore::~ContactStore() = default;

const PhoneBookSource &ContactStore::source() const
{
    return d->source;
}

QString ContactStore::databasePath() const
{
    return d->source.databasePath();
}

void ContactStore::setDeadline(const QDeadlineTimer &deadline)
{
    d->engine->setDeadline(deadline);
}

QList<SettledAdd> ContactStore::settledAdds()
{
    return std::exchange(d->settled, {});
}

Status ContactStore::open()
{
    const StoreEngine::Watch watching(*d->engine);
    if (Status status = d->open(); !status.ok())
        return status;
    d->opened = Opened::Table;
    d->queryRow.reset();
    return {};
}

Result<qint32> ContactStore::countEntries()
{
    const StoreEngine::Watch watching(*d->engine);
    Result<qint32> result;
    if (d->opened == Opened::Nothing) {
        result.error = storeFailure(ObjectNotSet).error;
        return result;
    }
    // Triggers keep the count exact, so counting never walks the table.
    const EngineSql &sql = d->engine->countStatement();
    QSqlQuery *query = nullptr;
    result.error = d->execute(sql, {}, query).error;
    if (!result.ok())
        return result;
    if (!query->next()) {
        const QSqlError error = query->lastError();
        query->finish();
        result.error = d->engine->failure(error, sql.right).error;
        return result;
    }
    if (query->value(0).isNull())
        result.error = storeFailure(CountMissing).error;
    else
        result.value = query->value(0).toInt();
    query->finish();
    return result;
}

Status ContactStore::queryByName(const QString &name)
{
    const StoreEngine::Watch watching(*d->engine);
    if (d->engine->generation() == 0)
        return storeFailure(ObjectNotSet);
    const Result<qint64> row = d->firstKey(d->engine->nameQueryStatement(), {textValue(name)});
    if (!row.ok() && row.error.number != NoCurrentRecord)
        return row;
    d->opened = Opened::Query;
    d->queryRow = row.ok() ? std::optional<qint64>(row.value) : std::nullopt;
    d->queryName = name;
    return {};
}

Result<PhoneAndNote> ContactStore::readFirstMatch()
{
    const StoreEngine::Watch watching(*d->engine);
    Result<PhoneAndNote> result;
    const Result<qint64> row = d->currentRow();
    if (!row.ok()) {
        result.error = row.error;
        return result;
    }
    const EngineSql &sql = d->engine->readStatement();
    QSqlQuery *query = nullptr;
    result.error = d->execute(sql, {row.value}, query).error;
    if (!result.ok())
        return result;
    if (!query->next()) {
        const QSqlError error = query->lastError();
        query->finish();
        result.error = (error.isValid() ? d->engine->failure(error, sql.right)
                                        : storeFailure(RecordIsDeleted))
                           .error;
        return result;
    }
    // Another program may have stored NULL; it reads as the empty text.
    result.value.phone = query->value(0).toString();
    result.value.note = query->value(1).toString();
    query->finish();
    return result;
}

Status ContactStore::closeResult()
{
    if (d->opened == Opened::Nothing)
        return storeFailure(ObjectNotSet);
    d->opened = Opened::Nothing;
    d->queryRow.reset();
    return {};
}

Status ContactStore::deleteFirstMatch()
{
    const StoreEngine::Watch watching(*d->engine);
    Result<qint64> row = d->currentRow();
    if (!row.ok())
        return row;
    if (Status durable = d->engine->prepareForChanges(); !durable.ok())
        return durable;
    // Where many people delete at the same moment, an entry deleted by
    // another a moment before is followed by the name's first entry now:
    // two people deleting one name delete two entries, or the second is
    // told that none is left.
    for (int attempt = 0;; ++attempt) {
        bool resent = false;
        QSqlQuery *query = nullptr;
        const Status status
            = d->execute(d->engine->deleteStatement(), {row.value}, query, true, &resent);
        if (!status.ok())
            return status;
        // Sent twice, the first may have deleted it: either way it is gone.
        const bool deleted = query->numRowsAffected() > 0 || resent;
        query->finish();
        if (deleted)
            return closeResult();
        if (!d->engine->followsDeletedEntries() || attempt == maxDeleteAttempts)
            return storeFailure(RecordIsDeleted);
        row = d->firstMatchNow();
        if (!row.ok())
            return row;
    }
}

Status ContactStore::appendEntry(const ContactEntry &entry)
{
    const StoreEngine::Watch watching(*d->engine);
    if (d->opened == Opened::Nothing)
        return storeFailure(ObjectNotSet);
    if (Status durable = d->engine->prepareForChanges(); !durable.ok())
        return durable;
    QVariantList values{textValue(entry.name), textValue(entry.phone), textValue(entry.note),
                        entry.rowNumber};
    QString key;
    bool earlier = false;
    if (d->engine->keysAdds()) {
        // The same entry added again after a lost answer is the same add.
        const auto again
            = std::find_if(d->pending.begin(), d->pending.end(),
                           [&](const PendingAdd &add) { return sameTexts(add.entry, entry); });
        earlier = again != d->pending.end();
        if (earlier) {
            key = again->key;
            d->pending.erase(again);
        } else {
            key = QUuid::createUuid().toString(QUuid::WithoutBraces);
        }
        values.append(key);
    }
    // One statement in autocommit mode: the row and its count are committed
    // together or not at all.
    QSqlQuery *query = nullptr;
    const Status status = d->execute(d->engine->insertStatement(), values, query, true);
    if (!status.ok() && (earlier || status.error.cause == FailureCause::OutcomeUnknown)) {
        // Until an answer comes, the earlier try may still be the one stored.
        d->pending.push_back({entry, key});
        return outcomeUnknown(status);
    }
    if (!status.ok())
        return status;
    query->finish();
    return closeResult();
}

} // namespace dialvault

namespace dialvault {

namespace {

Status notYet()
{
    return {{ObjectNotSet, QStringLiteral("not yet built"), FailureCause::Other}};
}

template <typename T>
Result<T> notYetResult()
{
    Result<T> result;
    result.error = notYet().error;
    return result;
}

} // namespace

qint64 ContactStore::lastAddedKey() const
{
    return 0;
}

const DeletedEntry &ContactStore::lastDeleted() const
{
    static const DeletedEntry none;
    return none;
}

Result<EntryNow> ContactStore::correctEntry(qint64, const EntryTexts &, const EntryTexts &)
{
    return notYetResult<EntryNow>();
}

Result<EntriesDeleted> ContactStore::deleteEntries(const QList<KeyedEntry> &)
{
    return notYetResult<EntriesDeleted>();
}

Result<EntriesDeleted> ContactStore::deleteStoredKeys(const StoredKeys &)
{
    return notYetResult<EntriesDeleted>();
}

Result<QList<DeletedEntry>> ContactStore::recentlyDeleted(qsizetype)
{
    return notYetResult<QList<DeletedEntry>>();
}

Result<EntriesRestored> ContactStore::restoreDeleted(const QList<qint64> &)
{
    return notYetResult<EntriesRestored>();
}

Result<qint64> ContactStore::purgeDeleted(const QDateTime &)
{
    return notYetResult<qint64>();
}

void ContactStore::setClock(std::function<QDateTime()>)
{ }

} // namespace dialvault
