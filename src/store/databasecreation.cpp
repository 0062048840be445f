#include "store/databasecreation.h"

#include "store/durablefiles.h"
#include "store/sqliteconnection.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QVariant>

namespace dialvault {

namespace {

// Entries go in batches of this many per statement: far fewer statements to run.
constexpr int entriesPerStatement = 50;

bool run(const QSqlDatabase &db, const QString &sql, Status &status)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    status = sqliteFailure(query.lastError());
    return false;
}

Status buildSchema(const QString &path)
{
    SqliteConnection connection;
    Status status = connection.open(path, SqliteUse::Building);
    if (status.ok() && run(connection.database(), StoreSchema::createTableStatement(), status))
        status = StoreSchema::completeSchema(connection.database());
    return status;
}

// The file could not be made or put in place: a folder that cannot be
// written, mostly.
Result<bool> failure(const QString &description)
{
    Result<bool> result;
    result.error = {1, description, FailureCause::CannotOpen};
    return result;
}

QString insertStatement(int entries)
{
    using namespace StoreSchema;
    QString sql = QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?, ?, ?, ?)")
                      .arg(table, quoted(nameField), quoted(phoneField), quoted(noteField),
                           quoted(rowNumberField));
    for (int i = 1; i < entries; ++i)
        sql += QStringLiteral(", (?, ?, ?, ?)");
    return sql;
}

QVariant numberValue(const std::optional<double> &number)
{
    return number ? QVariant(*number) : QVariant(QMetaType::fromType<double>());
}

// Binds entries [first, first + count) to `query`, which has room for exactly them, and runs it.
bool insertBatch(QSqlQuery &query, const QList<ExactEntry> &entries, qsizetype first,
                 qsizetype count)
{
    int at = 0;
    for (qsizetype i = first; i < first + count; ++i) {
        const ExactEntry &entry = entries.at(i);
        // A null QString binds as NULL, a non-null empty one as the empty text.
        query.bindValue(at++, entry.name);
        query.bindValue(at++, entry.phone);
        query.bindValue(at++, entry.note);
        query.bindValue(at++, numberValue(entry.rowNumber));
    }
    return query.exec();
}

// In one transaction, in the given order.
Status insertEntries(const QSqlDatabase &db, const QList<ExactEntry> &entries)
{
    Status status;
    if (!run(db, QStringLiteral("BEGIN"), status))
        return status;
    const qsizetype whole = entries.size() / entriesPerStatement * entriesPerStatement;
    if (whole > 0) {
        QSqlQuery batch(db);
        if (!batch.prepare(insertStatement(entriesPerStatement)))
            return sqliteFailure(batch.lastError());
        for (qsizetype first = 0; first < whole; first += entriesPerStatement) {
            if (!insertBatch(batch, entries, first, entriesPerStatement))
                return sqliteFailure(batch.lastError());
        }
    }
    if (whole < entries.size()) {
        QSqlQuery rest(db);
        if (!rest.prepare(insertStatement(int(entries.size() - whole)))
            || !insertBatch(rest, entries, whole, entries.size() - whole))
            return sqliteFailure(rest.lastError());
    }
    run(db, QStringLiteral("COMMIT"), status);
    return status;
}

// Whether the new phone book's kept count says it holds `expected` entries.
Status checkCount(const QSqlDatabase &db, qint64 expected)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT n FROM %1").arg(StoreSchema::countTable)))
        return sqliteFailure(query.lastError());
    if (!query.next() || query.value(0).toLongLong() != expected)
        return sqliteFailure(QSqlError(QStringLiteral("the new phone book does not hold every row"),
                                       {}, QSqlError::UnknownError));
    return {};
}

// Whether the attached schema `schema` has a table `test` with the four fields.
Status checkSourceTable(const QSqlDatabase &db, const QString &schema)
{
    using namespace StoreSchema;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT type FROM %1.sqlite_master WHERE name = '%2' COLLATE "
                                   "NOCASE")
                        .arg(schema, table)))
        return sqliteFailure(query.lastError());
    if (!query.next())
        return {{1, QStringLiteral("no such table: %1").arg(table), FailureCause::NoTable}};
    if (const QString type = query.value(0).toString(); type != QLatin1String("table")) {
        Status status = storeFailure(UnrecognizedFormat);
        status.error.foreignPart = QStringLiteral("%1 %2").arg(type, table);
        status.error.description
            = QStringLiteral("%1 is no table: its rows would come from its code").arg(table);
        return status;
    }
    query.finish();
    if (!query.exec(
            QStringLiteral("SELECT name FROM pragma_table_info('%1', '%2')").arg(table, schema)))
        return sqliteFailure(query.lastError());
    QStringList columns;
    while (query.next())
        columns.append(query.value(0).toString());
    for (const QString &field : {nameField, phoneField, noteField, rowNumberField}) {
        if (!columns.contains(field, Qt::CaseInsensitive))
            return {{1, QStringLiteral("table %1 has no field %2").arg(table, field),
                     FailureCause::MissingField}};
    }
    return {};
}

// The rows of the attached source copied into table `test`, in one
// transaction; the number copied.
Result<qint64> copyRows(const QSqlDatabase &db, const QString &schema)
{
    using namespace StoreSchema;
    Result<qint64> result;
    const QString fields = QStringList{quoted(nameField), quoted(phoneField), quoted(noteField),
                                       quoted(rowNumberField)}
                               .join(QStringLiteral(", "));
    // NOT INDEXED: the source's own indexes, and their expressions, stay unused.
    const QString sql = QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM %3.%1 NOT INDEXED "
                                       "ORDER BY rowid")
                            .arg(table, fields, schema);
    if (!run(db, QStringLiteral("BEGIN"), result))
        return result;
    QSqlQuery query(db);
    if (!query.exec(sql)) {
        result.error = sqliteFailure(query.lastError()).error;
        return result;
    }
    result.value = query.numRowsAffected();
    run(db, QStringLiteral("COMMIT"), result);
    return result;
}

} // namespace

Result<bool> createDatabaseIfMissing(const QString &path)
{
    Result<bool> result;
    if (QFileInfo::exists(path))
        return result;

    // Built under a temporary name beside the target and then renamed, so a
    // failure halfway never leaves a broken db1.mdb behind.
    QTemporaryFile building(path + QStringLiteral(".XXXXXX"));
    if (!building.open())
        return failure(QStringLiteral("cannot create %1: %2")
                           .arg(building.fileTemplate(), building.errorString()));
    building.close();
    // A temporary file is private to its owner; the database is an ordinary file.
    building.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                            | QFileDevice::ReadGroup | QFileDevice::ReadOther);

    const Status built = buildSchema(building.fileName());
    if (!built.ok()) {
        result.error = built.error;
        return result;
    }
    // On the disk before it has its name, and the name after: a power cut
    // never leaves db1.mdb naming a file that is not whole.
    Status placed = syncFile(building.fileName());
    if (placed.ok())
        placed = renameWithoutReplacing(building.fileName(), path);
    // A file made meanwhile by someone else wins.
    if (placed.error.number == FileExists)
        return result;
    if (placed.ok()) {
        building.setAutoRemove(false);
        result.value = true;
        placed = syncFolder(QFileInfo(path).absolutePath());
    }
    result.error = placed.error;
    return result;
}

Status fillNewPhoneBook(const QString &path, const QList<ExactEntry> &entries)
{
    SqliteConnection connection;
    Status status = connection.open(path, SqliteUse::Building);
    if (!status.ok())
        return status;
    const QSqlDatabase &db = connection.database();
    if (!run(db, StoreSchema::createTableStatement(), status))
        return status;
    // Entries first, then the index, count and triggers over all of them at once.
    status = insertEntries(db, entries);
    if (!status.ok())
        return status;
    status = StoreSchema::completeSchema(db);
    if (!status.ok())
        return status;
    return checkCount(db, entries.size());
}

Status rebuildPhoneBook(const QString &path, const QString &source, SqliteUse sourceUse)
{
    const QString schema = QStringLiteral("source");
    SqliteConnection connection;
    Status status = connection.open(path, SqliteUse::Building);
    if (status.ok())
        status = connection.attach(source, schema, sourceUse);
    if (status.ok())
        status = checkSourceTable(connection.database(), schema);
    const QSqlDatabase &db = connection.database();
    if (!status.ok() || !run(db, StoreSchema::createTableStatement(), status))
        return status;
    const Result<qint64> copied = copyRows(db, schema);
    if (!copied.ok())
        return copied;
    if (!run(db, QStringLiteral("DETACH DATABASE %1").arg(schema), status))
        return status;
    if (status = StoreSchema::completeSchema(db); !status.ok())
        return status;
    return checkCount(db, copied.value);
}

} // namespace dialvault
