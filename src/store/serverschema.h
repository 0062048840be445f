#pragma once

#include <QString>

namespace dialvault {

// The phone book's layout on a PostgreSQL server: table `test` with the
// four fields, an identity column `id` that orders the entries as they were
// added, the folded name and the number's digits as generated columns that
// the server computes itself (each indexed), a key made by the client with
// each add so that an add whose answer was lost can be told apart, the
// keys that imports lock (importKeysTable) so that two imports of one
// person at the same moment store it once, and the
// exact count kept as rows that triggers add, one for each change and never
// updated in place, folded together now and then, so that no writer waits
// for another's transaction.
namespace ServerSchema {

inline const QString table = QStringLiteral("test");
inline const QString keyColumn = QStringLiteral("id");
inline const QString clientKeyColumn = QStringLiteral("client_key");
inline const QString foldedNameColumn = QStringLiteral("folded_name");
inline const QString phoneDigitsColumn = QStringLiteral("phone_digits");
inline const QString foldedNameIndex = QStringLiteral("test_folded_name");
inline const QString phoneDigitsIndex = QStringLiteral("test_phone_digits");
inline const QString countTable = QStringLiteral("test_count");
inline const QString countFunction = QStringLiteral("test_count_change");
// A row for each key an import locked, by a folded name and a number's
// digits: a lock on a row, unlike an advisory lock, costs the server no
// shared memory, however many entries an import holds.
inline const QString importKeysTable = QStringLiteral("test_import_keys");
// Locks the keys given (bigint[]), in order, making the rows that are missing.
inline const QString importLockFunction = QStringLiteral("test_import_lock");
// What every import takes beside its keys: shared by imports that lock
// their keys, whole by those of earlier versions, which lock nothing else.
inline constexpr qint64 importLock = 0x4469616c7662;

// The name folded with PostgreSQL's own functions exactly as SearchKeys
// folds it: one translate() for the letters and digits, then lower() under
// the "C" collation, which like SQLite's lower() changes ASCII letters only.
QString foldedNameExpression(const QString &operand);
// The number's digits as SearchKeys' storedNumberDigits() gives them: one
// translate() for the digits and separators, then the country code.
QString phoneDigitsExpression(const QString &phone);

// The statement giving the exact number of entries.
QString countStatement();

// A right as GRANT names it: "INSERT ON test".
QString right(const char *privilege, const QString &object = table);

} // namespace ServerSchema

} // namespace dialvault
