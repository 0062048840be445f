#include "jet/phonebookwriter.h"

#include "jet/durablefiles.h"
#include "store/storeconnection.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace dialvault {

namespace {

// Rows go in batches of this many per statement: far fewer statements to run.
constexpr int rowsPerStatement = 50;

QString insertStatement(int rows)
{
    using namespace StoreSchema;
    QString sql = QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?, ?, ?, ?)")
                      .arg(table, quoted(nameField), quoted(phoneField), quoted(noteField),
                           quoted(rowNumberField));
    for (int i = 1; i < rows; ++i)
        sql += QStringLiteral(", (?, ?, ?, ?)");
    return sql;
}

QVariant numberValue(const std::optional<double> &number)
{
    return number ? QVariant(*number) : QVariant(QMetaType::fromType<double>());
}

bool run(QSqlQuery &query, const QString &sql, Status &status)
{
    if (query.exec(sql))
        return true;
    status = engineFailure(query.lastError());
    return false;
}

// Binds rows [first, first + count) to `query`, which has room for exactly them, and runs it.
bool insertBatch(QSqlQuery &query, const QList<JetRow> &rows, qsizetype first, qsizetype count)
{
    int at = 0;
    for (qsizetype i = first; i < first + count; ++i) {
        const JetRow &row = rows.at(i);
        // A null QString binds as NULL, a non-null empty one as the empty text.
        query.bindValue(at++, row.name);
        query.bindValue(at++, row.phone);
        query.bindValue(at++, row.note);
        query.bindValue(at++, numberValue(row.rowNumber));
    }
    return query.exec();
}

// In one transaction, in the given order.
Status insertRows(QSqlDatabase &db, const QList<JetRow> &rows)
{
    Status status;
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("BEGIN"), status))
        return status;
    const qsizetype whole = rows.size() / rowsPerStatement * rowsPerStatement;
    if (whole > 0) {
        QSqlQuery batch(db);
        if (!batch.prepare(insertStatement(rowsPerStatement)))
            return engineFailure(batch.lastError());
        for (qsizetype first = 0; first < whole; first += rowsPerStatement) {
            if (!insertBatch(batch, rows, first, rowsPerStatement))
                return engineFailure(batch.lastError());
        }
    }
    if (whole < rows.size()) {
        QSqlQuery rest(db);
        if (!rest.prepare(insertStatement(int(rows.size() - whole)))
            || !insertBatch(rest, rows, whole, rows.size() - whole))
            return engineFailure(rest.lastError());
    }
    run(query, QStringLiteral("COMMIT"), status);
    return status;
}

Status fill(QSqlDatabase &db, const QString &path, const QList<JetRow> &rows)
{
    Status status = openExistingFile(db, path);
    if (!status.ok())
        return status;
    QSqlQuery query(db);
    // The whole file is flushed once at the end; until it is renamed into
    // place nobody relies on it, so it needs no journal of its own.
    if (!run(query, QStringLiteral("PRAGMA journal_mode = OFF"), status)
        || !run(query, QStringLiteral("PRAGMA synchronous = OFF"), status)
        || !run(query, StoreSchema::createTableStatement(), status))
        return status;
    // Rows first, then the index, count and triggers over all of them at once.
    status = insertRows(db, rows);
    if (!status.ok())
        return status;
    status = StoreSchema::completeSchema(db);
    if (!status.ok())
        return status;
    if (!run(query, QStringLiteral("SELECT n FROM %1").arg(StoreSchema::countTable), status))
        return status;
    if (!query.next() || query.value(0).toLongLong() != rows.size())
        return engineFailure(QSqlError(QStringLiteral("the new phone book does not hold every row"),
                                       {}, QSqlError::UnknownError));
    return status;
}

} // namespace

Status writePhoneBook(const QString &path, const QList<JetRow> &rows)
{
    const QString connection = QStringLiteral("dialvault-jet-") + path;
    Status status;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        status = fill(db, path, rows);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!status.ok())
        return status;
    return syncFile(path);
}

} // namespace dialvault
