#include "store/schemacheck.h"

#include "store/sqliteconnection.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace dialvault {

namespace {

// One row of sqlite_master.
struct SchemaObject
{
    QString type;
    QString name;
    QString table;
    QString sql;

    friend bool operator==(const SchemaObject &, const SchemaObject &) = default;
};

// What the program itself makes, as SQLite keeps it: made once, in memory,
// by the very statements that make and complete a phone book, so that the
// texts compared are SQLite's own spelling of ours.
struct Reference
{
    Status made;
    QList<SchemaObject> companions; // everything beside table `test`
    // Table `test` as made, then with each generated column added in turn.
    QStringList tableStages;
};

bool named(const QString &name, const QString &wanted)
{
    return name.compare(wanted, Qt::CaseInsensitive) == 0;
}

bool run(QSqlQuery &query, const QString &sql, Status &status)
{
    if (query.exec(sql))
        return true;
    status = sqliteFailure(query.lastError());
    return false;
}

QList<SchemaObject> objectsOf(QSqlQuery &query, Status &status)
{
    QList<SchemaObject> objects;
    if (!run(query,
             QStringLiteral("SELECT type, name, tbl_name, sql FROM main.sqlite_master ORDER BY "
                            "name"),
             status))
        return objects;
    while (query.next())
        objects.append({query.value(0).toString(), query.value(1).toString(),
                        query.value(2).toString(), query.value(3).toString()});
    if (query.lastError().isValid())
        status = sqliteFailure(query.lastError());
    query.finish();
    return objects;
}

QString tableSql(QSqlQuery &query, Status &status)
{
    const QList<SchemaObject> objects = objectsOf(query, status);
    const auto table = std::find_if(objects.begin(), objects.end(), [](const SchemaObject &o) {
        return o.name == StoreSchema::table;
    });
    return table == objects.end() ? QString() : table->sql;
}

Reference makeReference()
{
    using namespace StoreSchema;
    Reference ours;
    SqliteConnection scratch;
    if (ours.made = scratch.openInMemory(); !ours.made.ok())
        return ours;
    QSqlQuery query(scratch.database());
    query.setForwardOnly(true);
    if (!run(query, createTableStatement(), ours.made))
        return ours;
    ours.tableStages.append(tableSql(query, ours.made));
    for (const GeneratedColumn &column : generatedColumns()) {
        if (!run(query, addColumnStatement(column), ours.made))
            return ours;
        ours.tableStages.append(tableSql(query, ours.made));
    }
    for (const QString &statement : companionStatements()) {
        if (!run(query, statement, ours.made))
            return ours;
    }
    for (const SchemaObject &object : objectsOf(query, ours.made)) {
        if (object.name != table)
            ours.companions.append(object);
    }
    return ours;
}

const Reference &reference()
{
    static const Reference made = makeReference();
    return made;
}

Status foreign(const QString &part)
{
    Status status = storeFailure(UnrecognizedFormat);
    status.error.description = QStringLiteral("not as Dialvault makes a phone book: %1").arg(part);
    status.error.foreignPart = part;
    return status;
}

// Table `test` is not as any version of the program left it: what differs,
// as closely as it can be named.
Status tableDifference(QSqlQuery &query, const QString &sql, bool whole)
{
    using namespace StoreSchema;
    Status status;
    if (!run(query,
             QStringLiteral("SELECT name FROM pragma_table_xinfo('%1', 'main') ORDER BY cid")
                 .arg(table),
             status))
        return status;
    QStringList columns;
    while (query.next())
        columns.append(query.value(0).toString());
    query.finish();

    const QList<GeneratedColumn> generated = generatedColumns();
    QStringList ourColumns{nameField, phoneField, noteField, rowNumberField};
    for (const QString &field : ourColumns) {
        if (!columns.contains(field, Qt::CaseInsensitive))
            return {{1, QStringLiteral("table %1 has no field %2").arg(table, field),
                     FailureCause::MissingField}};
    }
    for (const GeneratedColumn &column : generated)
        ourColumns.append(column.name);
    for (const QString &column : columns) {
        if (!ourColumns.contains(column, Qt::CaseInsensitive))
            return foreign(QStringLiteral("column %1").arg(column));
    }
    for (const GeneratedColumn &column : generated) {
        if (!columns.contains(column.name, Qt::CaseInsensitive)) {
            if (whole)
                return foreign(QStringLiteral("no column %1").arg(column.name));
        } else if (!sql.contains(columnDefinition(column))) {
            return foreign(QStringLiteral("column %1").arg(column.name));
        }
    }
    return foreign(QStringLiteral("table %1").arg(table));
}

} // namespace

Status checkSchema(const QSqlDatabase &db)
{
    using namespace StoreSchema;
    const Reference &ours = reference();
    if (!ours.made.ok())
        return ours.made;

    Status status;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query, QStringLiteral("PRAGMA main.user_version"), status))
        return status;
    const bool whole = query.next() && query.value(0).toInt() >= version;
    query.finish();
    const QList<SchemaObject> objects = objectsOf(query, status);
    if (!status.ok())
        return status;

    const auto test = std::find_if(objects.begin(), objects.end(),
                                   [](const SchemaObject &o) { return named(o.name, table); });
    if (test == objects.end())
        return {{1, QStringLiteral("no such table: %1").arg(table), FailureCause::NoTable}};
    if (test->type != QLatin1String("table"))
        return foreign(QStringLiteral("%1 %2").arg(test->type, test->name));
    if (whole ? test->sql != ours.tableStages.last() : !ours.tableStages.contains(test->sql))
        return tableDifference(query, test->sql, whole);

    for (const SchemaObject &object : objects) {
        // SQLite's own tables (statistics, sequences) hold no code.
        if (&object == &*test
            || object.name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
            continue;
        const bool isOurs = std::find(ours.companions.begin(), ours.companions.end(), object)
            != ours.companions.end();
        if (!isOurs)
            return foreign(QStringLiteral("%1 %2").arg(object.type, object.name));
    }
    if (whole) {
        for (const SchemaObject &piece : ours.companions) {
            if (std::find(objects.begin(), objects.end(), piece) == objects.end())
                return foreign(QStringLiteral("no %1 %2").arg(piece.type, piece.name));
        }
    }
    return {};
}

} // namespace dialvault
