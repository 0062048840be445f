#pragma once

#include <QList>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace dialvault {

// One row of table `test` as any SQLite program reads it.
struct StoredRow
{
    QString name;
    QString phone;
    QString note;
    double rowNumber = 0;
};

// A plain SQLite C API connection, opened the way the store opens its file
// (existing file only, read-write, 5 s busy timeout): "another program"
// working on the same phone book, for tests and benchmarks. Failures leave
// their text in `error`.
class RawDatabase
{
public:
    explicit RawDatabase(const QString &path);
    ~RawDatabase();
    RawDatabase(const RawDatabase &) = delete;
    RawDatabase &operator=(const RawDatabase &) = delete;

    bool isOpen() const { return db_ != nullptr; }
    sqlite3 *handle() const { return db_; }

    // Runs one or more statements without results.
    bool exec(const QString &sql);
    // A statement kept for repeated use; null on failure. The caller finalizes it.
    sqlite3_stmt *prepare(const QString &sql);
    // Runs one statement with bound values (NULL for an invalid QVariant).
    bool run(const QString &sql, const QVariantList &parameters);
    // Column `index` of every row of `sql`, NULL as an invalid QVariant.
    QVariantList column(const QString &sql, const QVariantList &parameters = {}, int index = 0);
    QVariant scalar(const QString &sql) { return column(sql).value(0); }

    // Adds a row to table `test` the way any other SQLite program would.
    bool insert(const QVariant &name, const QVariant &phone, const QVariant &note,
                double rowNumber);
    // Every row of table `test`, in storage order; NULL texts read as null strings.
    QList<StoredRow> rows();

    QString error;

private:
    sqlite3 *db_ = nullptr;
};

} // namespace dialvault
