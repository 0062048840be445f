#include "store/deletedtable.h"

#include "store/serverschema.h"
#include "store/storeschema.h"

namespace dialvault::DeletedTable {

namespace {

QString fields(const char *text, const char *number)
{
    using namespace StoreSchema;
    return QStringLiteral("%1 %5, %2 %5, %3 %5, %4 %6")
        .arg(quoted(nameField), quoted(phoneField), quoted(noteField), quoted(rowNumberField),
             QLatin1String(text), QLatin1String(number));
}

} // namespace

QString fileStatement()
{
    // AUTOINCREMENT: an id put back is never handed out again, so that an
    // undo kept in a running program never puts back another entry.
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                          "%2, entry INTEGER NOT NULL, deleted_at TEXT NOT NULL, reason TEXT NOT "
                          "NULL)")
        .arg(table, fields("TEXT", "REAL"));
}

QString serverStatement()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (id bigint GENERATED ALWAYS AS IDENTITY "
                          "PRIMARY KEY, %2, entry bigint NOT NULL, deleted_at timestamptz NOT "
                          "NULL, reason text NOT NULL)")
        .arg(table, fields("text", "double precision"));
}

QString serverGrants(const QString &schema, const QString &role)
{
    return QStringLiteral("GRANT SELECT, INSERT, DELETE ON %1.%2 TO %3;\n")
        .arg(schema, table, role);
}

} // namespace dialvault::DeletedTable
