#pragma once

#include "store/storeengine.h"

#include <QDateTime>
#include <QString>

namespace dialvault {

// The table beside `test` that keeps deleted entries for a while, so that
// they can be put back: each with its four fields, the key it had, when and
// why it was deleted. Other programs reading `test` see nothing of it.
namespace DeletedTable {

inline const QString table = QStringLiteral("test_deleted");

// The table on a file; it may run again on a file that has it.
QString fileStatement();
// The same on a server, in the schema in use.
QString serverStatement();

// The rights on a server a person needs to delete, undo and put back, as
// GRANT lists them.
QString serverGrants(const QString &schema, const QString &role);

// How a deletion's time is stored: ISO 8601 in UTC, to the millisecond,
// so that times compare in their order on a file too (a server reads it as
// its own type).
QString timeText(const QDateTime &time);

// How a deletion's reason is stored.
QString reasonText(DeletionReason reason);
DeletionReason reasonOf(const QString &text);

} // namespace DeletedTable

// The statements that correct, delete, put back and purge entries, and
// find what an import stored, in the engine's SQL. "Fields" are name,
// phone, note and row number; a time is bound as timeText() gives it.
struct DeletedSql
{
    // The conditional correction: name, phone, note, then the key, then the
    // three texts expected (NULL read as empty).
    EngineSql correct;
    // Deletes the entry with the key bound; answers its fields.
    EngineSql removeEntry;
    // The key, name, phone, note of the entries with keys from the first
    // bound to the second, in key order, held for this transaction.
    EngineSql readRange;
    // Keeps the entries with keys from the third bound to the fourth among
    // the deleted (time, reason first), in key order; answers each id with
    // the key.
    EngineSql keepRange;
    EngineSql deleteRange; // first, last
    // Keeps an entry among the deleted: fields, key (NULL for none), time,
    // reason; answers its id.
    EngineSql keep;
    // Id, fields, key, time, reason, newest first, at most as many as bound.
    EngineSql list;
    // Removes the kept entry with the id bound; answers its fields and key.
    EngineSql take;
    // The address-book links of the key bound second move to the first.
    EngineSql moveLinks;
    // Removes the entries deleted before the time bound.
    EngineSql purge;
    // Whether the table of deleted entries is there: a server's may not be.
    EngineSql present;
    // The largest key, NULL when there is no entry: where a file's import
    // within its write transaction begins its keys.
    EngineSql lastKey;
};

// The statements on a file, and on a server.
const DeletedSql &fileDeletedSql();
const DeletedSql &serverDeletedSql();

} // namespace dialvault
