#include "store/deletedtable.h"

#include "store/linktables.h"
#include "store/serverschema.h"
#include "store/storeschema.h"

namespace dialvault {

namespace {

using StoreSchema::quoted;

QString fields()
{
    using namespace StoreSchema;
    return QStringLiteral("%1, %2, %3, %4")
        .arg(quoted(nameField), quoted(phoneField), quoted(noteField), quoted(rowNumberField));
}

QString fieldTypes(const char *text, const char *number)
{
    using namespace StoreSchema;
    return QStringLiteral("%1 %5, %2 %5, %3 %5, %4 %6")
        .arg(quoted(nameField), quoted(phoneField), quoted(noteField), quoted(rowNumberField),
             QLatin1String(text), QLatin1String(number));
}

// The statements differ between engines in the entries' key, the way a
// time is read from text, how rows read are held until the commit (a file's
// write transaction holds them all), and the rights a server names when it
// refuses one.
DeletedSql made(const QString &table, const QString &kept, const QString &key, bool server)
{
    using namespace StoreSchema;
    const auto right = [&](const char *privilege, const QString &object) {
        return server ? ServerSchema::right(privilege, object) : QString();
    };
    const QString time = server ? QStringLiteral("?::timestamptz") : QStringLiteral("?");
    const QString held = server ? QStringLiteral(" FOR UPDATE") : QString();
    const QString shownTime = server ? QStringLiteral("to_char(deleted_at AT TIME ZONE 'UTC', "
                                                      "'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"')")
                                     : QStringLiteral("deleted_at");
    const QString inserted
        = QStringLiteral("INSERT INTO %1 (%2, entry, deleted_at, reason)").arg(kept, fields());
    DeletedSql s;
    s.correct = {QStringLiteral("UPDATE %1 SET %2 = ?, %3 = ?, %4 = ? WHERE %5 = ? AND "
                                "coalesce(%2, '') = ? AND coalesce(%3, '') = ? AND coalesce(%4, "
                                "'') = ?")
                     .arg(table, quoted(nameField), quoted(phoneField), quoted(noteField), key),
                 right("UPDATE", ServerSchema::table)};
    s.removeEntry
        = {QStringLiteral("DELETE FROM %1 WHERE %2 = ? RETURNING %3").arg(table, key, fields()),
           right("DELETE", ServerSchema::table)};
    s.readRange
        = {QStringLiteral("SELECT %1, %2, %3, %4 FROM %5 WHERE %1 BETWEEN ? AND ? ORDER "
                          "BY %1%6")
               .arg(key, quoted(nameField), quoted(phoneField), quoted(noteField), table, held),
           right("UPDATE", ServerSchema::table)};
    s.keepRange = {QStringLiteral("%1 SELECT %2, %3, %4, ? FROM %5 WHERE %3 BETWEEN ? AND ? ORDER "
                                  "BY %3 RETURNING id, entry")
                       .arg(inserted, fields(), key, time, table),
                   right("INSERT", DeletedTable::table)};
    s.deleteRange = {QStringLiteral("DELETE FROM %1 WHERE %2 BETWEEN ? AND ?").arg(table, key),
                     right("DELETE", ServerSchema::table)};
    s.keep = {QStringLiteral("%1 VALUES (?, ?, ?, ?, ?, %2, ?) RETURNING id").arg(inserted, time),
              right("INSERT", DeletedTable::table)};
    s.list = {QStringLiteral("SELECT id, %1, entry, %2, reason FROM %3 ORDER BY id DESC LIMIT ?")
                  .arg(fields(), shownTime, kept),
              right("SELECT", DeletedTable::table)};
    s.take = {QStringLiteral("DELETE FROM %1 WHERE id = ? RETURNING %2, entry").arg(kept, fields()),
              right("DELETE", DeletedTable::table)};
    s.moveLinks = {
        QStringLiteral("UPDATE %1 SET entry = ? WHERE entry = ?")
            .arg(server ? LinkTables::linkTable : QStringLiteral("main.") + LinkTables::linkTable),
        right("UPDATE", LinkTables::linkTable)};
    s.purge = {QStringLiteral("DELETE FROM %1 WHERE deleted_at < %2").arg(kept, time),
               right("DELETE", DeletedTable::table)};
    s.present.text = server
        ? QStringLiteral("SELECT to_regclass('%1') IS NOT NULL").arg(DeletedTable::table)
        : QStringLiteral("SELECT 1");
    s.lastKey = {QStringLiteral("SELECT max(%1) FROM %2").arg(key, table),
                 right("SELECT", ServerSchema::table)};
    return s;
}

} // namespace

namespace DeletedTable {

QString fileStatement()
{
    // AUTOINCREMENT: an id put back is never handed out again, so that an
    // undo kept by a running program never puts back another entry.
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                          "%2, entry INTEGER, deleted_at TEXT NOT NULL, reason TEXT NOT NULL)")
        .arg(table, fieldTypes("TEXT", "REAL"));
}

QString serverStatement()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (id bigint GENERATED ALWAYS AS IDENTITY "
                          "PRIMARY KEY, %2, entry bigint, deleted_at timestamptz NOT NULL, reason "
                          "text NOT NULL)")
        .arg(table, fieldTypes("text", "double precision"));
}

QString serverGrants(const QString &schema, const QString &role)
{
    return QStringLiteral("GRANT SELECT, INSERT, DELETE ON %1.%2 TO %3;\n")
        .arg(schema, table, role);
}

QString timeText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QString reasonText(DeletionReason reason)
{
    return reason == DeletionReason::SyncConflict ? QStringLiteral("conflict")
                                                  : QStringLiteral("deleted");
}

DeletionReason reasonOf(const QString &text)
{
    return text == QLatin1String("conflict") ? DeletionReason::SyncConflict
                                             : DeletionReason::ByPerson;
}

} // namespace DeletedTable

const DeletedSql &fileDeletedSql()
{
    static const DeletedSql sql
        = made(QStringLiteral("main.") + StoreSchema::table,
               QStringLiteral("main.") + DeletedTable::table, QStringLiteral("rowid"), false);
    return sql;
}

const DeletedSql &serverDeletedSql()
{
    static const DeletedSql sql
        = made(ServerSchema::table, DeletedTable::table, ServerSchema::keyColumn, true);
    return sql;
}

} // namespace dialvault
