#include "support/rawdatabase.h"

#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

namespace dialvault {

namespace {

void bind(sqlite3_stmt *statement, const QVariantList &parameters)
{
    for (int i = 0; i < parameters.size(); ++i) {
        const QVariant &p = parameters.at(i);
        if (p.isNull())
            sqlite3_bind_null(statement, i + 1);
        else if (p.typeId() == QMetaType::Double)
            sqlite3_bind_double(statement, i + 1, p.toDouble());
        else {
            const QString text = p.toString();
            sqlite3_bind_text16(statement, i + 1, text.utf16(), int(text.size() * 2),
                                SQLITE_TRANSIENT);
        }
    }
}

QString text(sqlite3_stmt *statement, int i)
{
    const auto *chars = static_cast<const char16_t *>(sqlite3_column_text16(statement, i));
    return chars ? QString::fromUtf16(chars, sqlite3_column_bytes16(statement, i) / 2) : QString();
}

QVariant value(sqlite3_stmt *statement, int i)
{
    switch (sqlite3_column_type(statement, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return sqlite3_column_int64(statement, i);
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, i);
    default:
        return text(statement, i);
    }
}

} // namespace

RawDatabase::RawDatabase(const QString &path)
{
    const QByteArray uri
        = "file:" + QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/") + "?mode=rw";
    if (sqlite3_open_v2(uri.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr)
        != SQLITE_OK) {
        error = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    sqlite3_busy_timeout(db_, 5000);
}

RawDatabase::~RawDatabase()
{
    sqlite3_close(db_);
}

bool RawDatabase::exec(const QString &sql)
{
    if (!db_)
        return false;
    char *message = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message);
    error = message ? QString::fromUtf8(message) : QString();
    sqlite3_free(message);
    return rc == SQLITE_OK;
}

sqlite3_stmt *RawDatabase::prepare(const QString &sql)
{
    sqlite3_stmt *statement = nullptr;
    if (!db_
        || sqlite3_prepare_v3(db_, sql.toUtf8().constData(), -1, SQLITE_PREPARE_PERSISTENT,
                              &statement, nullptr)
            != SQLITE_OK) {
        error = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : error;
        return nullptr;
    }
    return statement;
}

bool RawDatabase::run(const QString &sql, const QVariantList &parameters)
{
    sqlite3_stmt *statement = prepare(sql);
    if (!statement)
        return false;
    bind(statement, parameters);
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE)
        error = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
}

QVariantList RawDatabase::column(const QString &sql, const QVariantList &parameters, int index)
{
    QVariantList values;
    sqlite3_stmt *statement = prepare(sql);
    if (!statement)
        return values;
    bind(statement, parameters);
    while (sqlite3_step(statement) == SQLITE_ROW)
        values.append(value(statement, index));
    sqlite3_finalize(statement);
    return values;
}

bool RawDatabase::insert(const QVariant &name, const QVariant &phone, const QVariant &note,
                         double rowNumber)
{
    return run(
        QStringLiteral(
            "INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", \"رديف\") VALUES (?, ?, ?, ?)"),
        {name, phone, note, rowNumber});
}

QList<StoredRow> RawDatabase::rows()
{
    QList<StoredRow> rows;
    sqlite3_stmt *statement = prepare(
        QStringLiteral("SELECT \"نام\", \"تلفن\", \"يادداشت\", \"رديف\" FROM test ORDER BY rowid"));
    if (!statement)
        return rows;
    while (sqlite3_step(statement) == SQLITE_ROW)
        rows.append({text(statement, 0), text(statement, 1), text(statement, 2),
                     sqlite3_column_double(statement, 3)});
    sqlite3_finalize(statement);
    return rows;
}

} // namespace dialvault
