#include "store/linktables.h"

#include "store/serverschema.h"
#include "store/storeschema.h"

namespace dialvault {

namespace LinkTables {

QStringList fileStatements()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (url TEXT PRIMARY KEY NOT NULL, "
                       "sync_token TEXT)")
            .arg(bookTable),
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (book TEXT NOT NULL, entry INTEGER NOT "
                       "NULL, href TEXT NOT NULL, etag TEXT, state TEXT NOT NULL, "
                       "PRIMARY KEY (book, entry))")
            .arg(linkTable),
    };
}

QStringList serverStatements()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (url text PRIMARY KEY, sync_token text)")
            .arg(bookTable),
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (book text NOT NULL, entry bigint NOT NULL, "
                       "href text NOT NULL, etag text, state text NOT NULL, "
                       "PRIMARY KEY (book, entry))")
            .arg(linkTable),
    };
}

QString serverGrants(const QString &schema, const QString &role)
{
    return QStringLiteral("GRANT UPDATE ON %1.%2 TO %3;\n"
                          "GRANT SELECT, INSERT, UPDATE, DELETE ON %1.%4, %1.%5 TO %3;\n")
        .arg(schema, ServerSchema::table, role, bookTable, linkTable);
}

} // namespace LinkTables

namespace {

using StoreSchema::quoted;

QString texts()
{
    using namespace StoreSchema;
    return QStringLiteral("%1, %2, %3")
        .arg(quoted(nameField), quoted(phoneField), quoted(noteField));
}

// The statements differ between engines only in the entries' key and in
// the rights a server names when it refuses one.
LinkSql made(const QString &table, const QString &key, bool server)
{
    using namespace LinkTables;
    using StoreSchema::rowNumberField;
    const auto right = [&](const char *privilege, const QString &object) {
        return server ? ServerSchema::right(privilege, object) : QString();
    };
    LinkSql s;
    s.entries = {QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %1").arg(key, texts(), table),
                 right("SELECT", table)};
    s.entry = {QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(texts(), table, key),
               right("SELECT", table)};
    s.insertEntry = {QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?, ?, ?) RETURNING %4")
                         .arg(table, texts(), quoted(rowNumberField), key),
                     right("INSERT", table)};
    s.updateEntry = {QStringLiteral("UPDATE %1 SET %2 = ?, %3 = ?, %4 = ? WHERE %5 = ?")
                         .arg(table, quoted(StoreSchema::nameField),
                              quoted(StoreSchema::phoneField), quoted(StoreSchema::noteField), key),
                     right("UPDATE", table)};
    s.deleteEntry
        = {QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table, key), right("DELETE", table)};
    s.links = {QStringLiteral("SELECT entry, href, etag, state FROM %1 WHERE book = ? ORDER BY "
                              "entry")
                   .arg(linkTable),
               right("SELECT", linkTable)};
    s.token = {QStringLiteral("SELECT sync_token FROM %1 WHERE url = ?").arg(bookTable),
               right("SELECT", bookTable)};
    s.saveLink = {QStringLiteral("INSERT INTO %1 (book, entry, href, etag, state) VALUES (?, ?, ?, "
                                 "?, ?) ON CONFLICT (book, entry) DO UPDATE SET href = "
                                 "excluded.href, etag = excluded.etag, state = excluded.state")
                      .arg(linkTable),
                  right("INSERT, UPDATE", linkTable)};
    s.dropLink = {QStringLiteral("DELETE FROM %1 WHERE book = ? AND entry = ?").arg(linkTable),
                  right("DELETE", linkTable)};
    s.dropToken = {QStringLiteral("DELETE FROM %1 WHERE url = ?").arg(bookTable),
                   right("DELETE", bookTable)};
    s.saveToken = {QStringLiteral("INSERT INTO %1 (url, sync_token) VALUES (?, ?)").arg(bookTable),
                   right("INSERT", bookTable)};
    s.tablesPresent = QStringLiteral("SELECT 1 FROM %1, %2 WHERE 1 = 0").arg(bookTable, linkTable);
    return s;
}

} // namespace

const LinkSql &fileLinkSql()
{
    static const LinkSql sql
        = made(QStringLiteral("main.") + StoreSchema::table, QStringLiteral("rowid"), false);
    return sql;
}

const LinkSql &serverLinkSql()
{
    static const LinkSql sql = made(ServerSchema::table, ServerSchema::keyColumn, true);
    return sql;
}

} // namespace dialvault
