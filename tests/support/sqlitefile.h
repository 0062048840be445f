#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace dialvault {

// Direct access to a database file through the plain SQLite library, the way
// another tool would see it, to check what the program stored.
struct StoredRow
{
    QString name;
    QString phone;
    QString note;
    double rowNumber = 0;
};

// Every row of table `test`, in storage order.
QList<StoredRow> storedRows(const QString &path);
// Runs SQL on the file (which must exist); returns the error text, empty on success.
QString execSql(const QString &path, const QString &sql);
// Inserts one row as another tool would.
void insertRow(const QString &path, const StoredRow &row);

// Makes a fresh, empty contact database at `folder`/db1.mdb.
QString makeEmptyDatabase(const QString &folder);

} // namespace dialvault
