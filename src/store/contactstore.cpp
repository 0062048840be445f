#include "store/contactstore.h"

#include "store/storeconnection.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <optional>

namespace dialvault {

namespace {

std::atomic<quint64> instanceCounter{0};

// What the recordset slot holds: nothing, the whole table, or a name query.
enum class Slot { Closed, Table, Query };

const QString &readStatement()
{
    using namespace StoreSchema;
    static const QString sql = QStringLiteral("SELECT %1, %2 FROM %3 WHERE rowid = ?")
                                   .arg(quoted(phoneField), quoted(noteField), table);
    return sql;
}

const QString &insertStatement()
{
    using namespace StoreSchema;
    static const QString sql = QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?, ?, ?, ?)")
                                   .arg(table, quoted(nameField), quoted(phoneField),
                                        quoted(noteField), quoted(rowNumberField));
    return sql;
}

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

} // namespace

struct ContactStore::Impl
{
    QString path;
    // Two connections take turns, so that a reopen that fails leaves the
    // previous database in use.
    QString connectionNames[2];
    QSqlDatabase connections[2];
    int current = -1;

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

    QSqlDatabase &database() { return connections[current]; }

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

    QSqlQuery *prepared(std::optional<QSqlQuery> &statement, const QString &sql, Status &status)
    {
        if (!statement) {
            statement.emplace(database());
            statement->setForwardOnly(true);
            if (!statement->prepare(sql)) {
                status = engineFailure(statement->lastError());
                statement.reset();
                return nullptr;
            }
        }
        return &*statement;
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
        QSqlQuery *query = prepared(
            firstRowQuery,
            QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid LIMIT 1").arg(StoreSchema::table),
            result);
        if (!query)
            return result;
        if (!query->exec())
            result.error = engineFailure(query->lastError()).error;
        else if (query->next())
            result.value = query->value(0).toLongLong();
        else
            result.error = storeFailure(NoCurrentRecord).error;
        query->finish();
        return result;
    }

    // Every change must survive a crash or power loss once it is reported.
    Status makeDurable()
    {
        if (synchronousSet)
            return {};
        QSqlQuery query(database());
        if (!query.exec(QStringLiteral("PRAGMA synchronous = FULL")))
            return engineFailure(query.lastError());
        synchronousSet = true;
        return {};
    }
};

ContactStore::ContactStore(const QString &folder)
    : d(std::make_unique<Impl>())
{
    d->path = QDir(folder).filePath(fileName());
    const QString base = QStringLiteral("dialvault-store-%1-").arg(++instanceCounter);
    for (int i = 0; i < 2; ++i) {
        d->connectionNames[i] = base + QString::number(i);
        d->connections[i]
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->connectionNames[i]);
    }
}

ContactStore::~ContactStore()
{
    d->replaceDatabase(-1);
    for (int i = 0; i < 2; ++i) {
        d->connections[i] = QSqlDatabase();
        QSqlDatabase::removeDatabase(d->connectionNames[i]);
    }
}

QString ContactStore::databasePath() const
{
    return d->path;
}

Status ContactStore::OpenStore()
{
    const int next = d->current == 0 ? 1 : 0;
    Status status = openExistingFile(d->connections[next], d->path);
    if (!status.ok()) {
        d->connections[next].close();
        return status;
    }
    d->replaceDatabase(next);
    status = d->openTable();
    if (!status.ok())
        return status;
    d->slot = Slot::Table;
    d->queryRow.reset();
    return status;
}

Result<qint32> ContactStore::CountEntries()
{
    Result<qint32> result;
    if (d->slot == Slot::Closed) {
        result.error = storeFailure(ObjectNotSet).error;
        return result;
    }
    // Triggers keep this row exact, so counting never walks the table.
    QSqlQuery *query = d->prepared(d->countQuery, stateStatement(), result);
    if (!query)
        return result;
    if (!query->exec() || !query->next())
        result.error = engineFailure(query->lastError()).error;
    else if (query->value(2).isNull())
        result.error = storeFailure(CountMissing).error;
    else
        result.value = query->value(2).toInt();
    query->finish();
    return result;
}

Status ContactStore::QueryByName(const QString &name)
{
    if (d->current < 0)
        return storeFailure(ObjectNotSet);
    Status status;
    QSqlQuery *query = d->prepared(d->findQuery, StoreSchema::nameQueryStatement(), status);
    if (!query)
        return status;
    query->bindValue(0, textValue(name));
    if (!query->exec())
        return engineFailure(query->lastError());
    std::optional<qint64> row;
    if (query->next())
        row = query->value(0).toLongLong();
    else if (query->lastError().isValid())
        return engineFailure(query->lastError());
    query->finish();
    d->slot = Slot::Query;
    d->queryRow = row;
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
    QSqlQuery *query = d->prepared(d->readQuery, readStatement(), result);
    if (!query)
        return result;
    query->bindValue(0, row.value);
    if (!query->exec()) {
        result.error = engineFailure(query->lastError()).error;
        return result;
    }
    if (!query->next()) {
        result.error = query->lastError().isValid() ? engineFailure(query->lastError()).error
                                                    : storeFailure(RecordIsDeleted).error;
        query->finish();
        return result;
    }
    // Another program may have stored NULL; it reads as the empty text.
    result.value.phone = query->value(0).toString();
    result.value.note = query->value(1).toString();
    query->finish();
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
    const Result<qint64> row = d->currentRow();
    if (!row.ok())
        return row;
    Status status = d->makeDurable();
    if (!status.ok())
        return status;
    QSqlQuery *query = d->prepared(
        d->deleteQuery, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(StoreSchema::table),
        status);
    if (!query)
        return status;
    query->bindValue(0, row.value);
    if (!query->exec())
        return engineFailure(query->lastError());
    const bool deleted = query->numRowsAffected() > 0;
    query->finish();
    if (!deleted)
        return storeFailure(RecordIsDeleted);
    return CloseRecordset();
}

Status ContactStore::AppendEntry(const ContactEntry &entry)
{
    if (d->slot == Slot::Closed)
        return storeFailure(ObjectNotSet);
    Status status = d->makeDurable();
    if (!status.ok())
        return status;
    QSqlQuery *query = d->prepared(d->insertQuery, insertStatement(), status);
    if (!query)
        return status;
    query->bindValue(0, textValue(entry.name));
    query->bindValue(1, textValue(entry.phone));
    query->bindValue(2, textValue(entry.note));
    query->bindValue(3, entry.rowNumber);
    // One statement in autocommit mode: the row and its count are committed
    // together or not at all.
    if (!query->exec())
        return engineFailure(query->lastError());
    query->finish();
    return CloseRecordset();
}

} // namespace dialvault
