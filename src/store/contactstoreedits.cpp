#include "store/contactstore.h"

#include "store/contactstoreimpl.h"
#include "store/deletedtable.h"
#include "store/linktables.h"

#include <algorithm>
#include <limits>

// Corrections, deletes of chosen entries, and the recently deleted entries.
namespace dialvault {

namespace {

// A text as read: NULL stays null, any other (the empty one too) is not.
QString exactText(const QVariant &value)
{
    if (value.isNull())
        return {};
    const QString text = value.toString();
    return text.isNull() ? QStringLiteral("") : text;
}

// The four fields in `query`'s current row from `first` on.
ExactEntry exactAt(const QSqlQuery &query, int first)
{
    ExactEntry entry{exactText(query.value(first)), exactText(query.value(first + 1)),
                     exactText(query.value(first + 2)), std::nullopt};
    if (!query.value(first + 3).isNull())
        entry.rowNumber = query.value(first + 3).toDouble();
    return entry;
}

EntryTexts textsOf(const ExactEntry &entry)
{
    return {entry.name, entry.phone, entry.note};
}

template <typename T>
Result<T> failedWith(const Status &status)
{
    Result<T> result;
    result.error = status.error;
    return result;
}

// The failure of a statement that was to answer a row and did not.
Status noAnswer(StoreEngine &engine, QSqlQuery &query, const EngineSql &sql)
{
    const QSqlError error = query.lastError();
    query.finish();
    return error.isValid() ? engine.failure(error, sql.right) : storeFailure(ObjectNotSet);
}

// The rest of a statement's answer read, and its end checked: one that
// answers rows may fail after the first (a trigger at its end), and a
// failure unseen would let its transaction end without it.
Status drained(StoreEngine &engine, QSqlQuery &query, const EngineSql &sql)
{
    while (query.next()) { }
    const QSqlError error = query.lastError();
    query.finish();
    return error.isValid() ? engine.failure(error, sql.right) : Status();
}

// The failure of a delete that could not be undone: the server's phone
// book keeps no deleted entries yet.
Status notKept()
{
    return {{ServerCallFailed,
             QStringLiteral("no table %1: run server-init again").arg(DeletedTable::table),
             FailureCause::ServerNotPrepared}};
}

// Keys missing from a range read are told of, this many at most: enough
// to show a person, little to hold.
constexpr qsizetype toldMissing = 100;

} // namespace

QString ContactStore::Impl::stamp() const
{
    return DeletedTable::timeText(clock());
}

Status ContactStore::Impl::inTransaction(const std::function<Status(bool &keep)> &work)
{
    for (int attempt = 0;; ++attempt) {
        if (!engine->isOpen()) {
            if (Status reopened = open(); !reopened.ok())
                return reopened;
        }
        if (Status durable = engine->prepareForChanges(); !durable.ok())
            return durable;
        Status status = engine->begin(Transaction::Write);
        if (status.ok()) {
            bool keep = true;
            transacting = true;
            status = work(keep);
            transacting = false;
            if (status.ok() && keep) {
                status = engine->commit();
                if (status.ok())
                    return status;
                if (engine->connectionBroke(status))
                    return outcomeUnknown(status);
            }
            engine->rollback();
            if (status.ok())
                return status; // nothing was to be kept
        }
        if (attempt == 1 || !engine->connectionBroke(status))
            return status;
    }
}

Result<bool> ContactStore::Impl::keepsDeleted()
{
    Result<bool> result;
    if (keepsDeletedAt == engine->generation() && engine->isOpen()) {
        result.value = keepsDeletedThere;
        return result;
    }
    const EngineSql &sql = engine->deletedSql().present;
    QSqlQuery *query = nullptr;
    if (Status asked = execute(sql, {}, query); !asked.ok())
        return failedWith<bool>(asked);
    if (!query->next())
        return failedWith<bool>(noAnswer(*engine, *query, sql));
    result.value = query->value(0).toBool();
    query->finish();
    keepsDeletedAt = engine->generation();
    keepsDeletedThere = result.value;
    return result;
}

Status ContactStore::Impl::keepAndDelete(qint64 key, DeletionReason reason, DeletedEntry &kept,
                                         bool &found)
{
    kept = {};
    found = false;
    const Result<bool> keeping = keepsDeleted();
    if (!keeping.ok())
        return keeping;
    const DeletedSql &sql = engine->deletedSql();
    QSqlQuery *query = nullptr;
    if (Status removed = execute(sql.removeEntry, {key}, query, true); !removed.ok())
        return removed;
    if (!query->next()) {
        const QSqlError error = query->lastError();
        query->finish();
        return error.isValid() ? engine->failure(error, sql.removeEntry.right) : Status();
    }
    found = true;
    kept.fields = exactAt(*query, 0);
    QVariantList values{query->value(0), query->value(1), query->value(2), query->value(3)};
    if (Status whole = drained(*engine, *query, sql.removeEntry); !whole.ok())
        return whole;
    kept.key = key;
    if (!keeping.value)
        return {};
    kept.deletedAt = clock().toUTC();
    kept.reason = reason;
    values << key << DeletedTable::timeText(kept.deletedAt) << DeletedTable::reasonText(reason);
    if (Status stored = execute(sql.keep, values, query, true); !stored.ok())
        return stored;
    if (!query->next())
        return noAnswer(*engine, *query, sql.keep);
    kept.id = query->value(0).toLongLong();
    return drained(*engine, *query, sql.keep);
}

qint64 ContactStore::lastAddedKey() const
{
    return d->lastAddedKey;
}

const DeletedEntry &ContactStore::lastDeleted() const
{
    return d->lastDeleted;
}

void ContactStore::setClock(std::function<QDateTime()> now)
{
    if (now)
        d->clock = std::move(now);
}

Result<EntryNow> ContactStore::correctEntry(qint64 key, const EntryTexts &expected,
                                            const EntryTexts &now)
{
    const StoreEngine::Watch watching(*d->engine);
    Result<EntryNow> result;
    result.value = {key, EntryState::AsExpected, now};
    if (!d->engine->isOpen()) {
        if (Status opened = d->open(); !opened.ok())
            return failedWith<EntryNow>(opened);
    }
    if (Status durable = d->engine->prepareForChanges(); !durable.ok())
        return failedWith<EntryNow>(durable);
    // One statement that changes the entry only while it holds what the
    // person saw: nobody's change in between is overwritten.
    const EngineSql &sql = d->engine->deletedSql().correct;
    QSqlQuery *query = nullptr;
    bool resent = false;
    const Status stored = d->execute(sql,
                                     {textValue(now.name), textValue(now.phone),
                                      textValue(now.note), key, textValue(expected.name),
                                      textValue(expected.phone), textValue(expected.note)},
                                     query, true, &resent);
    if (!stored.ok())
        return failedWith<EntryNow>(stored);
    const bool changed = query->numRowsAffected() > 0;
    query->finish();
    if (changed)
        return result;

    const EngineSql &read = d->engine->linkSql().entry;
    const Status found = d->execute(read, {key}, query);
    if (!found.ok())
        return failedWith<EntryNow>(found);
    if (!query->next()) {
        const QSqlError error = query->lastError();
        query->finish();
        if (error.isValid())
            return failedWith<EntryNow>(d->engine->failure(error, read.right));
        result.value = {key, EntryState::DeletedMeanwhile, {}};
        return result;
    }
    const EntryTexts held{exactText(query->value(0)), exactText(query->value(1)),
                          exactText(query->value(2))};
    query->finish();
    // Sent twice, the first try may be the one that stored it.
    if (!(resent && held == now))
        result.value = {key, EntryState::ChangedMeanwhile, held};
    return result;
}

Result<EntriesDeleted> ContactStore::deleteEntries(const QList<KeyedEntry> &entries)
{
    const StoreEngine::Watch watching(*d->engine);
    Result<EntriesDeleted> result;
    const Status done = d->inTransaction([&](bool &keep) -> Status {
        result.value = {};
        // Deleted without a question only because they can be put back.
        const Result<bool> keeping = d->keepsDeleted();
        if (!keeping.ok())
            return keeping;
        if (!keeping.value)
            return notKept();
        for (const KeyedEntry &entry : entries) {
            DeletedEntry kept;
            bool found = false;
            if (Status status = d->keepAndDelete(entry.key, DeletionReason::ByPerson, kept, found);
                !status.ok())
                return status;
            if (!found)
                result.value.meanwhile.append({entry.key, EntryState::DeletedMeanwhile, {}});
            else if (textsOf(kept.fields) != entry.texts)
                result.value.meanwhile.append(
                    {entry.key, EntryState::ChangedMeanwhile, textsOf(kept.fields)});
            else
                result.value.ids.append(kept.id);
        }
        // All or none: what others changed meanwhile is not deleted unseen.
        if (!result.value.meanwhile.isEmpty()) {
            keep = false;
            result.value.refused = true;
            result.value.ids.clear();
        }
        return {};
    });
    result.error = done.error;
    return result;
}

Result<EntriesDeleted> ContactStore::deleteStoredKeys(const StoredKeys &keys)
{
    const StoreEngine::Watch watching(*d->engine);
    const DeletedSql &sql = d->engine->deletedSql();
    Result<EntriesDeleted> result;
    const Status done = d->inTransaction([&](bool &keep) -> Status {
        result.value = {};
        // The entries as they are now must be the very ones stored.
        qint64 found = 0;
        quint64 digest = 0;
        QSqlQuery *query = nullptr;
        for (const KeyRange &range : keys.ranges) {
            if (Status read = d->execute(sql.readRange, {range.first, range.last}, query);
                !read.ok())
                return read;
            qint64 next = range.first;
            while (query->next()) {
                const qint64 key = query->value(0).toLongLong();
                for (; next < key && result.value.meanwhile.size() < toldMissing; ++next)
                    result.value.meanwhile.append({next, EntryState::DeletedMeanwhile, {}});
                next = key + 1;
                ++found;
                digest += entryDigest({exactText(query->value(1)), exactText(query->value(2)),
                                       exactText(query->value(3))});
            }
            if (query->lastError().isValid())
                return noAnswer(*d->engine, *query, sql.readRange);
            query->finish();
            for (; next <= range.last && result.value.meanwhile.size() < toldMissing; ++next)
                result.value.meanwhile.append({next, EntryState::DeletedMeanwhile, {}});
        }
        if (found != keys.count() || digest != keys.digest) {
            keep = false;
            result.value.refused = true;
            return {};
        }
        result.value.meanwhile.clear();
        const QString now = d->stamp();
        const QString reason = DeletedTable::reasonText(DeletionReason::ByPerson);
        for (const KeyRange &range : keys.ranges) {
            if (Status kept
                = d->execute(sql.keepRange, {now, reason, range.first, range.last}, query, true);
                !kept.ok())
                return kept;
            // The answer's order is the engine's: the ids follow the keys.
            QList<std::pair<qint64, qint64>> keptIds; // key, id
            while (query->next())
                keptIds.append({query->value(1).toLongLong(), query->value(0).toLongLong()});
            if (query->lastError().isValid())
                return noAnswer(*d->engine, *query, sql.keepRange);
            query->finish();
            std::sort(keptIds.begin(), keptIds.end());
            for (const auto &[key, id] : keptIds)
                result.value.ids.append(id);
            if (Status deleted
                = d->execute(sql.deleteRange, {range.first, range.last}, query, true);
                !deleted.ok())
                return deleted;
            query->finish();
        }
        return {};
    });
    result.error = done.error;
    return result;
}

Result<QList<DeletedEntry>> ContactStore::recentlyDeleted(qsizetype limit)
{
    const StoreEngine::Watch watching(*d->engine);
    const EngineSql &sql = d->engine->deletedSql().list;
    QSqlQuery *query = nullptr;
    const qint64 most = limit < 0 ? std::numeric_limits<qint64>::max() : qint64(limit);
    Result<QList<DeletedEntry>> result;
    if (Status read = d->execute(sql, {most}, query); !read.ok())
        return failedWith<QList<DeletedEntry>>(read);
    while (query->next()) {
        DeletedEntry entry;
        entry.id = query->value(0).toLongLong();
        entry.fields = exactAt(*query, 1);
        entry.key = query->value(5).toLongLong();
        entry.deletedAt = QDateTime::fromString(query->value(6).toString(), Qt::ISODateWithMs);
        entry.reason = DeletedTable::reasonOf(query->value(7).toString());
        result.value.append(entry);
    }
    if (query->lastError().isValid())
        return failedWith<QList<DeletedEntry>>(noAnswer(*d->engine, *query, sql));
    query->finish();
    return result;
}

Result<EntriesRestored> ContactStore::restoreDeleted(const QList<qint64> &ids)
{
    const StoreEngine::Watch watching(*d->engine);
    const DeletedSql &sql = d->engine->deletedSql();
    const EngineSql &insert = d->engine->linkSql().insertEntry;
    Result<EntriesRestored> result;
    const Status done = d->inTransaction([&](bool &keep) -> Status {
        result.value = {};
        // Each is numbered as an add from the main window numbers its entry.
        QSqlQuery *query = nullptr;
        const EngineSql &countSql = d->engine->countStatement();
        if (Status counted = d->execute(countSql, {}, query); !counted.ok())
            return counted;
        if (!query->next() || query->value(0).isNull()) {
            const QSqlError error = query->lastError();
            query->finish();
            return error.isValid() ? d->engine->failure(error, countSql.right)
                                   : storeFailure(CountMissing);
        }
        double stored = query->value(0).toDouble();
        query->finish();
        for (const qint64 id : ids) {
            if (Status taken = d->execute(sql.take, {id}, query, true); !taken.ok())
                return taken;
            if (!query->next()) {
                if (query->lastError().isValid())
                    return noAnswer(*d->engine, *query, sql.take);
                query->finish();
                result.value.missing.append(id);
                continue;
            }
            const QVariantList values{query->value(0), query->value(1), query->value(2), ++stored};
            const QVariant formerKey = query->value(4);
            if (Status whole = drained(*d->engine, *query, sql.take); !whole.ok())
                return whole;
            if (Status added = d->execute(insert, values, query, true); !added.ok())
                return added;
            if (!query->next())
                return noAnswer(*d->engine, *query, insert);
            const qint64 key = query->value(0).toLongLong();
            if (Status whole = drained(*d->engine, *query, insert); !whole.ok())
                return whole;
            // A sync then finds the entry linked to its card as before.
            if (!formerKey.isNull()) {
                if (Status moved = d->execute(sql.moveLinks, {key, formerKey}, query, true);
                    !moved.ok())
                    return moved;
                query->finish();
            }
            result.value.keys.append(key);
        }
        if (!result.value.done()) {
            keep = false;
            result.value.keys.clear();
        }
        return {};
    });
    result.error = done.error;
    return result;
}

Result<qint64> ContactStore::purgeDeleted(const QDateTime &now)
{
    const StoreEngine::Watch watching(*d->engine);
    if (!d->engine->isOpen()) {
        if (Status opened = d->open(); !opened.ok())
            return failedWith<qint64>(opened);
    }
    if (Status durable = d->engine->prepareForChanges(); !durable.ok())
        return failedWith<qint64>(durable);
    QSqlQuery *query = nullptr;
    const Status purged = d->execute(d->engine->deletedSql().purge,
                                     {DeletedTable::timeText(now.addDays(-keptDays))}, query, true);
    if (!purged.ok())
        return failedWith<qint64>(purged);
    Result<qint64> result;
    result.value = std::max(0, query->numRowsAffected());
    query->finish();
    return result;
}

} // namespace dialvault
