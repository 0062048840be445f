#include "store/contactstore.h"

#include "store/contactstoreimpl.h"
#include "store/deletedtable.h"
#include "store/storefailure.h"

#include <QSqlError>
#include <QUuid>

#include <algorithm>
#include <utility>

namespace dialvault {

namespace {

// How often a delete follows a name's entries that others delete under it
// before it gives up.
constexpr int maxDeleteAttempts = 100;

// An add sent again must be the same add: the texts decide, not the row
// number, which follows the count shown.
bool sameTexts(const ContactEntry &a, const ContactEntry &b)
{
    return a.name == b.name && a.phone == b.phone && a.note == b.note;
}

} // namespace

using contactstore::Opened;
using contactstore::PendingAdd;

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
    d->keepsDeletedAt = -1; // server-init may have run since
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
    const Result<qint64> first = d->currentRow();
    if (!first.ok())
        return first;
    DeletedEntry kept;
    const Status deleted = d->inTransaction([&](bool &) -> Status {
        // Where many people delete at the same moment, an entry deleted by
        // another a moment before is followed by the name's first entry
        // now: two people deleting one name delete two entries, or the
        // second is told that none is left.
        qint64 row = first.value;
        for (int attempt = 0;; ++attempt) {
            bool found = false;
            if (Status status = d->keepAndDelete(row, DeletionReason::ByPerson, kept, found);
                !status.ok() || found)
                return status;
            if (!d->engine->followsDeletedEntries() || attempt == maxDeleteAttempts)
                return storeFailure(RecordIsDeleted);
            const Result<qint64> now = d->firstMatchNow();
            if (!now.ok())
                return now;
            row = now.value;
        }
    });
    if (!deleted.ok())
        return deleted;
    d->lastDeleted = kept;
    return closeResult();
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
    // The key is asked for after the add: a statement answering rows is
    // done with before the server commits it, so its answer proves nothing.
    const QVariant inserted = query->lastInsertId();
    query->finish();
    d->lastAddedKey = 0;
    if (!d->engine->keysAdds()) {
        d->lastAddedKey = inserted.toLongLong();
    } else if (const Result<qint64> known = d->engine->keyOfAdd(key); known.ok()) {
        d->lastAddedKey = known.value;
    }
    return closeResult();
}

} // namespace dialvault
