#include "store/storedialect.h"

#include "store/serverschema.h"
#include "store/storeschema.h"

#include <QStringList>

namespace dialvault {

namespace {

using StoreSchema::quoted;

QString fields()
{
    using namespace StoreSchema;
    return QStringList{quoted(nameField), quoted(phoneField), quoted(noteField),
                       quoted(rowNumberField)}
        .join(QStringLiteral(", "));
}

} // namespace

QString StoreDialect::driver() const
{
    return engine_ == Engine::Postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
}

QString StoreDialect::key() const
{
    return engine_ == Engine::Postgres ? ServerSchema::keyColumn : QStringLiteral("rowid");
}

QString StoreDialect::countStatement() const
{
    if (engine_ == Engine::Postgres)
        return ServerSchema::countStatement();
    return QStringLiteral("SELECT n FROM %1").arg(StoreSchema::countTable);
}

QString StoreDialect::firstEntryStatement() const
{
    return QStringLiteral("SELECT %1 FROM %2 ORDER BY %1 LIMIT 1").arg(key(), StoreSchema::table);
}

QString StoreDialect::nameQueryStatement() const
{
    if (engine_ == Engine::Sqlite)
        return StoreSchema::nameQueryStatement();
    // The index on (folded_name, id) holds equal names in the order they
    // were added: the first is its first entry.
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4 ORDER BY %1 LIMIT 1")
        .arg(key(), ServerSchema::table, ServerSchema::foldedNameColumn,
             ServerSchema::foldedNameExpression(QStringLiteral("?")));
}

QString StoreDialect::readStatement() const
{
    using namespace StoreSchema;
    return QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
        .arg(quoted(phoneField), quoted(noteField), table, key());
}

QString StoreDialect::deleteStatement() const
{
    return QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(StoreSchema::table, key());
}

QString StoreDialect::insertStatement() const
{
    if (engine_ == Engine::Sqlite)
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?)")
            .arg(StoreSchema::table, fields());
    return QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?, ?, ?, ?) ON CONFLICT (%3) DO "
                          "NOTHING")
        .arg(ServerSchema::table, fields(), ServerSchema::clientKeyColumn);
}

QString StoreDialect::entriesStatement() const
{
    return QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(fields(), StoreSchema::table, key());
}

QString StoreDialect::candidatesStatement(bool byDigits) const
{
    using namespace StoreSchema;
    return QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
        .arg(quoted(nameField), quoted(phoneField), table,
             byDigits ? phoneDigitsColumn : foldedNameColumn);
}

QString StoreDialect::partSearchStatement(bool number, PartPlace place) const
{
    using namespace StoreSchema;
    const QString &column = number ? phoneDigitsColumn : foldedNameColumn;
    if (engine_ == Engine::Sqlite) {
        const QString &index = number ? phoneDigitsIndex : foldedNameIndex;
        // The start of a text is a range of the index. A part anywhere needs
        // every value, which the index holds already computed: scanning it is
        // far cheaper than computing the generated column for every row of
        // the table (SQLite does not yet see such an index as covering, hence
        // INDEXED BY). Either way the matching rowids are then read in order.
        const QString matching = place == PartPlace::Start
            ? QStringLiteral("SELECT rowid FROM %1 WHERE %2 >= ? AND %2 < ?").arg(table, column)
            : QStringLiteral("SELECT rowid FROM %1 INDEXED BY %2 WHERE instr(%3, ?) > 0")
                  .arg(table, index, column);
        return QStringLiteral("SELECT %1 FROM %2 WHERE rowid IN (%3) ORDER BY rowid")
            .arg(fields(), table, matching);
    }
    // The server keeps both columns computed in the table; their "C"
    // collation orders them by code point, as the range's end is made.
    const QString condition = place == PartPlace::Start
        ? QStringLiteral("%1 >= ? AND %1 < ?").arg(column)
        : QStringLiteral("strpos(%1, ?) > 0").arg(column);
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4")
        .arg(fields(), table, condition, key());
}

} // namespace dialvault
