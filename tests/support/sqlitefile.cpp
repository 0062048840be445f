#include "support/sqlitefile.h"

#include "store/databasecreation.h"

#include <QDir>

#include <sqlite3.h>

namespace dialvault {

namespace {

sqlite3 *openFile(const QString &path)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr)
        != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    return db;
}

QString text(sqlite3_stmt *statement, int column)
{
    const auto *chars = static_cast<const char16_t *>(sqlite3_column_text16(statement, column));
    return chars ? QString::fromUtf16(chars, sqlite3_column_bytes16(statement, column) / 2)
                 : QString();
}

} // namespace

QList<StoredRow> storedRows(const QString &path)
{
    QList<StoredRow> rows;
    sqlite3 *db = openFile(path);
    if (!db)
        return rows;
    sqlite3_stmt *statement = nullptr;
    const QString sql = QStringLiteral(
        "SELECT \"نام\", \"تلفن\", \"يادداشت\", \"رديف\" FROM test ORDER BY rowid");
    if (sqlite3_prepare16_v2(db, sql.utf16(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW)
            rows.append({text(statement, 0), text(statement, 1), text(statement, 2),
                         sqlite3_column_double(statement, 3)});
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

QString execSql(const QString &path, const QString &sql)
{
    sqlite3 *db = openFile(path);
    if (!db)
        return QStringLiteral("cannot open ") + path;
    char *message = nullptr;
    QString error;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
        error = QString::fromUtf8(message);
    sqlite3_free(message);
    sqlite3_close(db);
    return error;
}

void insertRow(const QString &path, const StoredRow &row)
{
    sqlite3 *db = openFile(path);
    sqlite3_stmt *statement = nullptr;
    const QString sql = QStringLiteral(
        "INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", \"رديف\") VALUES (?, ?, ?, ?)");
    sqlite3_prepare16_v2(db, sql.utf16(), -1, &statement, nullptr);
    sqlite3_bind_text16(statement, 1, row.name.utf16(), int(row.name.size() * 2), SQLITE_TRANSIENT);
    sqlite3_bind_text16(statement, 2, row.phone.utf16(), int(row.phone.size() * 2),
                        SQLITE_TRANSIENT);
    sqlite3_bind_text16(statement, 3, row.note.utf16(), int(row.note.size() * 2), SQLITE_TRANSIENT);
    sqlite3_bind_double(statement, 4, row.rowNumber);
    sqlite3_step(statement);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

QString makeEmptyDatabase(const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("db1.mdb"));
    createDatabaseIfMissing(path);
    return path;
}

} // namespace dialvault
