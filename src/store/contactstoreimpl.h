#pragma once

#include "store/contactstore.h"
#include "store/storeengine.h"
#include "store/storefailure.h"

#include <QDateTime>
#include <QSqlError>

#include <functional>
#include <optional>
#include <vector>

namespace dialvault {

namespace contactstore {

// What is open: nothing, the whole table, or a name query's result.
enum class Opened { Nothing, Table, Query };

// An add that reached the server, or may have, without an answer.
struct PendingAdd
{
    ContactEntry entry;
    QString key;
};

} // namespace contactstore

struct ContactStore::Impl
{
    PhoneBookSource source;
    std::unique_ptr<StoreEngine> engine;

    contactstore::Opened opened = contactstore::Opened::Nothing;
    std::optional<qint64> queryRow; // the first match of the name query
    QString queryName;

    std::vector<contactstore::PendingAdd> pending;
    QList<SettledAdd> settled;

    qint64 lastAddedKey = 0;
    DeletedEntry lastDeleted;
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTimeUtc(); };
    // Within a transaction a broken connection ends it: nothing is sent
    // again on a new one, which would run outside it.
    bool transacting = false;

    // Several changes in one write transaction: `work`, then the commit. A
    // connection that broke before the commit is made again and the work
    // done once more; one that broke with the commit leaves the outcome
    // unknown. `work` sets `keep` false to end it with nothing changed.
    Status inTransaction(const std::function<Status(bool &keep)> &work);
    // Deletes the entry with `key`, keeping it among the deleted where the
    // phone book keeps them: `found` tells whether there was such an entry,
    // `kept` what was kept (its id 0 when nothing was).
    Status keepAndDelete(qint64 key, DeletionReason reason, DeletedEntry &kept, bool &found);
    // Whether the phone book keeps deleted entries: a server prepared by an
    // earlier version has no table for them until server-init runs again,
    // and deletes by name there as it did. Asked again after each opening
    // and with each new connection.
    Result<bool> keepsDeleted();
    int keepsDeletedAt = -1; // the connection asked
    bool keepsDeletedThere = false;
    // Now, as the deleted entries' times are stored.
    QString stamp() const;

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
    // it was sent twice. Within a transaction nothing is sent again.
    Status execute(const EngineSql &sql, const QVariantList &values, QSqlQuery *&query,
                   bool change = false, bool *resent = nullptr)
    {
        Status status;
        bool sent = false;
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!engine->isOpen() && !transacting) {
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
            if (!engine->connectionBroke(status) || transacting)
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
        case contactstore::Opened::Nothing:
            result.error = storeFailure(ObjectNotSet).error;
            return result;
        case contactstore::Opened::Query:
            if (queryRow)
                result.value = *queryRow;
            else
                result.error = storeFailure(NoCurrentRecord).error;
            return result;
        case contactstore::Opened::Table:
            break;
        }
        return firstKey(engine->firstEntryStatement(), {});
    }

    // The first entry of what is open as the phone book is now: the name
    // query run again, or the table's first entry; NoCurrentRecord when
    // there is none.
    Result<qint64> firstMatchNow()
    {
        if (opened == contactstore::Opened::Query)
            return firstKey(engine->nameQueryStatement(), {textValue(queryName)});
        return currentRow();
    }
};

} // namespace dialvault
