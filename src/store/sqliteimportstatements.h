#pragma once

#include "store/importstatements.h"

struct sqlite3;

namespace dialvault {

// The statements of an import into a SQLite file, through SQLite's own
// interface on the connection `db`: Qt's driver spends more on binding a
// value than SQLite on storing it. Rows are inserted many to a statement.
// `candidates` are the statements that look up by name and by digits
// (StoreEngine::candidatesStatement()), `insert` the insert of one row.
std::unique_ptr<ImportStatements> sqliteImportStatements(sqlite3 *db, const QString candidates[2],
                                                         const QString &insert, Status &status);

} // namespace dialvault
