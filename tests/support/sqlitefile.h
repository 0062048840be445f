#pragma once

#include "support/rawdatabase.h"

#include <QString>

// One-line conveniences over RawDatabase for tests that look at a phone book
// file once.
namespace dialvault {

// Every row of table `test`, in storage order.
QList<StoredRow> storedRows(const QString &path);
// Runs SQL on the file (which must exist); returns the error text, empty on success.
QString execSql(const QString &path, const QString &sql);
// Inserts one row as another tool would.
void insertRow(const QString &path, const StoredRow &row);

// Makes a fresh, empty contact database at `folder`/db1.mdb.
QString makeEmptyDatabase(const QString &folder);

} // namespace dialvault
