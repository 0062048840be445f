#pragma once

// Helpers shared by the store's test programs: a fresh database in a
// temporary folder, and a plain SQLite C API connection standing in for
// "another tool" working on the same file.

#include "store/contactstore.h"
#include "store/databasecreation.h"

#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <sqlite3.h>

namespace dialvault {

class StoreFolder
{
public:
    StoreFolder() { QVERIFY(dir.isValid()); }
    QString folder() const { return dir.path(); }
    QString databasePath() const { return dir.filePath(ContactStore::fileName()); }
    bool create() const { return createDatabaseIfMissing(databasePath()).value; }

private:
    QTemporaryDir dir;
};

class RawDatabase
{
public:
    explicit RawDatabase(const QString &path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr)
            != SQLITE_OK)
            error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_busy_timeout(db, 5000);
    }
    ~RawDatabase() { sqlite3_close(db); }
    RawDatabase(const RawDatabase &) = delete;
    RawDatabase &operator=(const RawDatabase &) = delete;

    bool exec(const QString &sql)
    {
        char *message = nullptr;
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
        error = message ? QString::fromUtf8(message) : QString();
        sqlite3_free(message);
        return rc == SQLITE_OK;
    }

    // Column `index` of every row of `sql`, NULL as an invalid QVariant.
    QVariantList column(const QString &sql, const QVariantList &parameters = {}, int index = 0)
    {
        QVariantList values;
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr)
            != SQLITE_OK) {
            error = QString::fromUtf8(sqlite3_errmsg(db));
            return values;
        }
        bind(statement, parameters);
        while (sqlite3_step(statement) == SQLITE_ROW)
            values.append(value(statement, index));
        sqlite3_finalize(statement);
        return values;
    }

    QVariant scalar(const QString &sql) { return column(sql).value(0); }

    bool run(const QString &sql, const QVariantList &parameters)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr)
            != SQLITE_OK) {
            error = QString::fromUtf8(sqlite3_errmsg(db));
            return false;
        }
        bind(statement, parameters);
        const int rc = sqlite3_step(statement);
        sqlite3_finalize(statement);
        return rc == SQLITE_DONE;
    }

    // Adds a row the way any other SQLite program would.
    bool insert(const QVariant &name, const QVariant &phone, const QVariant &note, double rowNumber)
    {
        return run(
            QStringLiteral(
                "INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", \"رديف\") VALUES (?, ?, ?, ?)"),
            {name, phone, note, rowNumber});
    }

    QString error;

private:
    static void bind(sqlite3_stmt *statement, const QVariantList &parameters)
    {
        for (int i = 0; i < parameters.size(); ++i) {
            const QVariant &p = parameters.at(i);
            if (p.isNull())
                sqlite3_bind_null(statement, i + 1);
            else if (p.typeId() == QMetaType::Double)
                sqlite3_bind_double(statement, i + 1, p.toDouble());
            else
                sqlite3_bind_text16(statement, i + 1, p.toString().utf16(), -1, SQLITE_TRANSIENT);
        }
    }

    static QVariant value(sqlite3_stmt *statement, int i)
    {
        switch (sqlite3_column_type(statement, i)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return sqlite3_column_int64(statement, i);
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement, i);
        default:
            return QString::fromUtf16(
                static_cast<const char16_t *>(sqlite3_column_text16(statement, i)));
        }
    }

    sqlite3 *db = nullptr;
};

} // namespace dialvault
