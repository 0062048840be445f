#include "store/contactstore.h"

#include "store/serverlink.h"
#include "store/serverschema.h"
#include "store/storeconnection.h"
#include "store/storedialect.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <optional>
#include <utility>
#include <vector>

namespace dialvault {

namespace {

std::atomic<quint64> instanceCounter{0};

// How often a delete on a server follows a name's entries that others
// delete under it before it gives up.
constexpr int maxDeleteAttempts = 100;

// What the recordset slot holds: nothing, the whole table, or a name query.
enum class Slot { Closed, Table, Query };

QString tableExistsStatement()
{
    return QStringLiteral("EXISTS (SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = "
                          "'%1' COLLATE NOCASE)")
        .arg(StoreSchema::table);
}

const QString &stateStatement()
{
    static const QString sql
        = QStringLiteral(
              "SELECT (SELECT user_version FROM pragma_user_version), %1, (SELECT n FROM %2)")
              .arg(tableExistsStatement(), StoreSchema::countTable);
    return sql;
}

Status noTable()
{
    return {
        {1, QStringLiteral("no such table: %1").arg(StoreSchema::table), FailureCause::NoTable}};
}

// Qt binds a null QString as SQL NULL; typed text, even empty, is text.
QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

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
    StoreDialect dialect{Engine::Sqlite};

    // A file: two connections take turns, so that a reopen that fails leaves
    // the previous database in use.
    QString connectionNames[2];
    QSqlDatabase connections[2];
    int current = -1;
    // A server: one connection, opened again when it breaks.
    std::unique_ptr<ServerLink> server;

    // Statements of the current connection, prepared on first use.
    std::optional<QSqlQuery> countQuery;
    std::optional<QSqlQuery> findQuery;
    std::optional<QSqlQuery> firstRowQuery;
    std::optional<QSqlQuery> readQuery;
    std::optional<QSqlQuery> deleteQuery;
    std::optional<QSqlQuery> insertQuery;
    bool synchronousSet = false;

    Slot slot = Slot::Closed;
    std::optional<qint64> queryRow; // the first match of the name query
    QString queryName;

    std::vector<PendingAdd> pending;
    QList<SettledAdd> settled;

    bool isOpen() const { return server ? server->generation() > 0 : current >= 0; }
    QSqlDatabase &database() { return server ? server->database() : connections[current]; }

    void dropStatements()
    {
        countQuery.reset();
        findQuery.reset();
        firstRowQuery.reset();
        readQuery.reset();
        deleteQuery.reset();
        insertQuery.reset();
        synchronousSet = false;
    }

    void replaceDatabase(int next)
    {
        dropStatements();
        if (current >= 0)
            connections[current].close();
        current = next;
    }

    QSqlQuery *prepared(std::optional<QSqlQuery> &statement, const QString &sql, Status &status,
                        const QString &right = {})
    {
        if (!statement) {
            statement.emplace(database());
            statement->setForwardOnly(true);
            if (!statement->prepare(sql)) {
                status = server ? server->failure(statement->lastError(), right)
                                : engineFailure(statement->lastError());
                statement.reset();
                return nullptr;
            }
        }
        return &*statement;
    }

    // Runs `sql` (prepared once on the current connection) with `values`.
    // On a server a broken connection is opened again first, and a statement
    // that failed because the connection broke is run once more on a new
    // one: every statement of the store may run twice (reads, a delete by
    // key, an add by its client-made key). A change sent on a connection that
    // broke, when no new connection can be had, ends as OutcomeUnknown;
    // `resent` tells that it was sent twice.
    Status execute(std::optional<QSqlQuery> &statement, const QString &sql,
                   const QVariantList &values, const QString &right = {}, bool change = false,
                   bool *resent = nullptr)
    {
        Status status;
        if (!server) {
            QSqlQuery *query = prepared(statement, sql, status);
            if (!query)
                return status;
            for (int i = 0; i < values.size(); ++i)
                query->bindValue(i, values.at(i));
            if (!query->exec())
                return engineFailure(query->lastError());
            return status;
        }
        bool sent = false;
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!server->isOpen()) {
                if (Status opened = connectServer(); !opened.ok())
                    return sent ? outcomeUnknown(opened) : opened;
            }
            QSqlQuery *query = prepared(statement, sql, status, right);
            if (query) {
                for (int i = 0; i < values.size(); ++i)
                    query->bindValue(i, values.at(i));
                if (query->exec()) {
                    if (resent)
                        *resent = sent;
                    return {};
                }
                status = server->failure(query->lastError(), right);
            }
            // Refused by a server that answered: nothing of this attempt is
            // stored, but an earlier one may have been.
            if (status.error.cause != FailureCause::ServerUnreachable)
                return sent ? outcomeUnknown(status) : status;
            sent = sent || (change && query);
        }
        return sent ? outcomeUnknown(status) : status;
    }

    // A new connection: statements are prepared again, and the adds whose
    // answer was lost are sent again under their keys.
    Status connectServer()
    {
        dropStatements();
        Status status = server->open();
        if (!status.ok())
            return status;
        for (auto add = pending.begin(); add != pending.end();) {
            const Status sent = sendAdd(add->entry, add->key);
            if (sent.ok()) {
                settled.append({add->entry});
                add = pending.erase(add);
            } else if (sent.error.cause == FailureCause::ServerUnreachable) {
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
        QSqlQuery *query = prepared(insertQuery, dialect.insertStatement(), status,
                                    ServerSchema::right("INSERT"));
        if (!query)
            return status;
        query->bindValue(0, textValue(entry.name));
        query->bindValue(1, textValue(entry.phone));
        query->bindValue(2, textValue(entry.note));
        query->bindValue(3, entry.rowNumber);
        query->bindValue(4, key);
        if (!query->exec())
            return server->failure(query->lastError(), ServerSchema::right("INSERT"));
        query->finish();
        return status;
    }

    // Reads the schema version, whether table `test` exists and the count in
    // one statement, so that a refresh prepares a single statement on the new
    // connection; CountEntries runs it again.
    Status openTable()
    {
        Status status;
        if (QSqlQuery *query = prepared(countQuery, stateStatement(), status)) {
            if (!query->exec() || !query->next())
                return engineFailure(query->lastError());
            const int version = query->value(0).toInt();
            const bool hasTable = query->value(1).toBool();
            query->finish();
            if (!hasTable)
                return noTable();
            if (version == StoreSchema::version)
                return status;
        }
        // An older or foreign file, perhaps without the count table yet.
        countQuery.reset();
        QSqlQuery query(database());
        if (!query.exec(QStringLiteral("SELECT ") + tableExistsStatement()) || !query.next())
            return engineFailure(query.lastError());
        const bool hasTable = query.value(0).toBool();
        query.finish();
        if (!hasTable)
            return noTable();
        return StoreSchema::completeSchema(database());
    }

    Status openFile()
    {
        const int next = current == 0 ? 1 : 0;
        Status status = openExistingFile(connections[next], source.databasePath());
        if (!status.ok()) {
            connections[next].close();
            return status;
        }
        replaceDatabase(next);
        return openTable();
    }

    // The row that a read or delete works on: the first match of the query, or
    // the first row of the table when the slot holds the table.
    Result<qint64> currentRow()
    {
        Result<qint64> result;
        switch (slot) {
        case Slot::Closed:
            result.error = storeFailure(ObjectNotSet).error;
            return result;
        case Slot::Query:
            if (queryRow)
                result.value = *queryRow;
            else
                result.error = storeFailure(NoCurrentRecord).error;
            return result;
        case Slot::Table:
            break;
        }
        result.error = execute(firstRowQuery, dialect.firstEntryStatement(), {},
                               ServerSchema::right("SELECT"))
                           .error;
        if (!result.ok())
            return result;
        if (firstRowQuery->next())
            result.value = firstRowQuery->value(0).toLongLong();
        else
            result.error = storeFailure(NoCurrentRecord).error;
        firstRowQuery->finish();
        return result;
    }

    // The slot's first entry as the phone book is now: the name query run
    // again, or the table's first entry; NoCurrentRecord when there is none.
    Result<qint64> firstMatchNow()
    {
        if (slot == Slot::Query) {
            Result<qint64> result;
            result.error = execute(findQuery, dialect.nameQueryStatement(), {textValue(queryName)},
                                   ServerSchema::right("SELECT"))
                               .error;
            if (!result.ok())
                return result;
            if (findQuery->next())
                result.value = findQuery->value(0).toLongLong();
            else
                result.error = storeFailure(NoCurrentRecord).error;
            findQuery->finish();
            return result;
        }
        return currentRow();
    }

    // Every change must survive a crash or power loss once it is reported; a
    // server's sessions are opened so.
    Status makeDurable()
    {
        if (synchronousSet || server)
            return {};
        QSqlQuery query(database());
        if (!query.exec(QStringLiteral("PRAGMA synchronous = FULL")))
            return engineFailure(query.lastError());
        synchronousSet = true;
        return {};
    }
};

ContactStore::ContactStore(const QString &folder)
    : ContactStore(PhoneBookSource::inFolder(folder))
{ }

ContactStore::ContactStore(const PhoneBookSource &source)
    : d(std::make_unique<Impl>())
{
    d->source = source;
    d->dialect = StoreDialect(source.engine());
    if (source.isServer()) {
        d->server = std::make_unique<ServerLink>(source.serverUrl());
        return;
    }
    const QString base = QStringLiteral("dialvault-store-%1-").arg(++instanceCounter);
    for (int i = 0; i < 2; ++i) {
        d->connectionNames[i] = base + QString::number(i);
        d->connections[i]
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->connectionNames[i]);
    }
}

ContactStore::~ContactStore()
{
    d->dropStatements();
    if (d->server) {
        d->server.reset();
        return;
    }
    d->replaceDatabase(-1);
    for (int i = 0; i < 2; ++i) {
        d->connections[i] = QSqlDatabase();
        QSqlDatabase::removeDatabase(d->connectionNames[i]);
    }
}

const PhoneBookSource &ContactStore::source() const
{
    return d->source;
}

QString ContactStore::databasePath() const
{
    return d->source.databasePath();
}

QList<SettledAdd> ContactStore::settledAdds()
{
    return std::exchange(d->settled, {});
}

Status ContactStore::OpenStore()
{
    if (d->server) {
        // A connection that works is kept; one that broke is made again.
        if (!d->server->isOpen()) {
            if (Status opened = d->connectServer(); !opened.ok())
                return opened;
        }
    } else if (Status opened = d->openFile(); !opened.ok()) {
        return opened;
    }
    d->slot = Slot::Table;
    d->queryRow.reset();
    return {};
}

Result<qint32> ContactStore::CountEntries()
{
    Result<qint32> result;
    if (d->slot == Slot::Closed) {
        result.error = storeFailure(ObjectNotSet).error;
        return result;
    }
    // Triggers keep the count exact, so counting never walks the table.
    const bool file = !d->server;
    result.error = d->execute(d->countQuery, file ? stateStatement() : d->dialect.countStatement(),
                              {}, ServerSchema::right("SELECT", ServerSchema::countTable))
                       .error;
    if (!result.ok())
        return result;
    QSqlQuery &query = *d->countQuery;
    const int column = file ? 2 : 0;
    if (!query.next())
        result.error
            = (file ? engineFailure(query.lastError()) : d->server->failure(query.lastError()))
                  .error;
    else if (query.value(column).isNull())
        result.error = storeFailure(CountMissing).error;
    else
        result.value = query.value(column).toInt();
    query.finish();
    return result;
}

Status ContactStore::QueryByName(const QString &name)
{
    if (!d->isOpen())
        return storeFailure(ObjectNotSet);
    Status status = d->execute(d->findQuery, d->dialect.nameQueryStatement(), {textValue(name)},
                               ServerSchema::right("SELECT"));
    if (!status.ok())
        return status;
    QSqlQuery &query = *d->findQuery;
    std::optional<qint64> row;
    if (query.next())
        row = query.value(0).toLongLong();
    else if (query.lastError().isValid())
        return d->server ? d->server->failure(query.lastError()) : engineFailure(query.lastError());
    query.finish();
    d->slot = Slot::Query;
    d->queryRow = row;
    d->queryName = name;
    return status;
}

Result<PhoneAndNote> ContactStore::ReadFirstMatch()
{
    Result<PhoneAndNote> result;
    const Result<qint64> row = d->currentRow();
    if (!row.ok()) {
        result.error = row.error;
        return result;
    }
    result.error = d->execute(d->readQuery, d->dialect.readStatement(), {row.value},
                              ServerSchema::right("SELECT"))
                       .error;
    if (!result.ok())
        return result;
    QSqlQuery &query = *d->readQuery;
    if (!query.next()) {
        if (!query.lastError().isValid())
            result.error = storeFailure(RecordIsDeleted).error;
        else
            result.error = (d->server ? d->server->failure(query.lastError())
                                      : engineFailure(query.lastError()))
                               .error;
        query.finish();
        return result;
    }
    // Another program may have stored NULL; it reads as the empty text.
    result.value.phone = query.value(0).toString();
    result.value.note = query.value(1).toString();
    query.finish();
    return result;
}

Status ContactStore::CloseRecordset()
{
    if (d->slot == Slot::Closed)
        return storeFailure(ObjectNotSet);
    d->slot = Slot::Closed;
    d->queryRow.reset();
    return {};
}

Status ContactStore::DeleteFirstMatch()
{
    Result<qint64> row = d->currentRow();
    if (!row.ok())
        return row;
    Status status = d->makeDurable();
    if (!status.ok())
        return status;
    // On a server, where people delete at the same moment, an entry deleted
    // by another a moment before is followed by the name's first entry now:
    // two people deleting one name delete two entries, or the second is
    // told that none is left. A file keeps to the entry the query found.
    for (int attempt = 0;; ++attempt) {
        bool resent = false;
        status = d->execute(d->deleteQuery, d->dialect.deleteStatement(), {row.value},
                            ServerSchema::right("DELETE"), true, &resent);
        if (!status.ok())
            return status;
        // Sent twice, the first may have deleted it: either way it is gone.
        const bool deleted = d->deleteQuery->numRowsAffected() > 0 || resent;
        d->deleteQuery->finish();
        if (deleted)
            return CloseRecordset();
        if (!d->server || attempt == maxDeleteAttempts)
            return storeFailure(RecordIsDeleted);
        row = d->firstMatchNow();
        if (!row.ok())
            return row;
    }
}

Status ContactStore::AppendEntry(const ContactEntry &entry)
{
    if (d->slot == Slot::Closed)
        return storeFailure(ObjectNotSet);
    Status status = d->makeDurable();
    if (!status.ok())
        return status;
    QVariantList values{textValue(entry.name), textValue(entry.phone), textValue(entry.note),
                        entry.rowNumber};
    QString key;
    bool earlier = false;
    if (d->server) {
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
    status = d->execute(d->insertQuery, d->dialect.insertStatement(), values,
                        ServerSchema::right("INSERT"), true);
    if (!status.ok() && (earlier || status.error.cause == FailureCause::OutcomeUnknown)) {
        // Until an answer comes, the earlier try may still be the one stored.
        d->pending.push_back({entry, key});
        return outcomeUnknown(status);
    }
    if (!status.ok())
        return status;
    d->insertQuery->finish();
    return CloseRecordset();
}

} // namespace dialvault
