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

QString insertStatement()
{
    using namespace StoreSchema;
    return QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?, ?, ?, ?)")
        .arg(table, quoted(nameField), quoted(phoneField), quoted(noteField),
             quoted(rowNumberField));
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

Status insertRows(QSqlDatabase &db, const QList<JetRow> &rows)
{
    Status status;
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("BEGIN"), status))
        return status;
    if (!query.prepare(insertStatement()))
        return engineFailure(query.lastError());
    for (const JetRow &row : rows) {
        // A null QString binds as NULL, a non-null empty one as the empty text.
        query.bindValue(0, row.name);
        query.bindValue(1, row.phone);
        query.bindValue(2, row.note);
        query.bindValue(3, numberValue(row.rowNumber));
        if (!query.exec())
            return engineFailure(query.lastError());
    }
    query.finish();
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
