#include "store/storeschema.h"

#include "store/deletedtable.h"
#include "store/linktables.h"
#include "store/schemacheck.h"
#include "store/searchkeys.h"
#include "store/storefailure.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <span>

namespace dialvault::StoreSchema {

namespace {

// A character as an SQL operand: plain ASCII as a literal, anything else as
// char(), so that the schema reads cleanly in any client's console.
QString sqlCharacter(QChar c)
{
    if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'\'')
        return u'\'' + QString(c) + u'\'';
    return QStringLiteral("char(%1)").arg(c.unicode());
}

QString sqlText(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("''");
    QStringList parts;
    for (const QChar c : text)
        parts.append(sqlCharacter(c));
    return parts.join(QStringLiteral(" || "));
}

QString replacementChain(QString operand, std::span<const SearchKeys::Replacement> pairs)
{
    for (const auto &[from, to] : pairs)
        operand
            = QStringLiteral("replace(%1, %2, %3)").arg(operand, sqlCharacter(from), sqlText(to));
    return operand;
}

// The chain runs only when one of its characters is there: a GLOB is one
// pass over the text, much cheaper than the replace() calls it spares.
QString guardedChain(const QString &operand, std::span<const SearchKeys::Replacement> pairs)
{
    // In a GLOB class a ']' must come first to stand for itself.
    QList<int> codes;
    for (const auto &pair : pairs) {
        if (pair.first == u']')
            codes.prepend(pair.first.unicode());
        else
            codes.append(pair.first.unicode());
    }
    QStringList numbers;
    for (const int code : codes)
        numbers.append(QString::number(code));
    return QStringLiteral("CASE WHEN %1 GLOB '*[' || char(%2) || ']*' THEN %3 ELSE %1 END")
        .arg(operand, numbers.join(QStringLiteral(", ")), replacementChain(operand, pairs));
}

bool run(QSqlQuery &query, const QString &sql, Status &status)
{
    if (query.exec(sql))
        return true;
    status = sqliteFailure(query.lastError());
    return false;
}

Status addMissingPieces(const QSqlDatabase &db)
{
    Status status;
    QSqlQuery query(db);

    // Another process may have completed the file while this one waited.
    if (!run(query, QStringLiteral("PRAGMA user_version"), status))
        return status;
    if (query.next() && query.value(0).toInt() == version)
        return status;
    query.finish();
    // Nothing is added to, nor counted in, a file that holds anything of
    // another program's: its triggers would run.
    if (status = checkSchema(db); !status.ok())
        return status;

    for (const GeneratedColumn &column : generatedColumns()) {
        if (!run(query,
                 QStringLiteral("SELECT 1 FROM pragma_table_xinfo('%1') WHERE name = '%2'")
                     .arg(table, column.name),
                 status))
            return status;
        const bool present = query.next();
        query.finish();
        if (!present && !run(query, addColumnStatement(column), status))
            return status;
    }

    QStringList statements = companionStatements();
    statements += {
        // The triggers may be new, so the count is taken afresh.
        QStringLiteral("DELETE FROM %1").arg(countTable),
        QStringLiteral("INSERT INTO %1(n) SELECT COUNT(*) FROM %2").arg(countTable, table),
        QStringLiteral("PRAGMA user_version = %1").arg(version),
    };
    for (const QString &statement : statements) {
        if (!run(query, statement, status))
            return status;
    }
    return status;
}

} // namespace

QString quoted(const QString &field)
{
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString foldedNameExpression(const QString &operand)
{
    QString expression = operand;
    for (const auto &[from, to] : SearchKeys::nameReplacements())
        expression = QStringLiteral("replace(%1, '%2', '%3')").arg(expression, QString(from), to);
    return QStringLiteral("lower(%1)").arg(expression);
}

QString foldedPhoneExpression(const QString &phone)
{
    return guardedChain(phone, SearchKeys::numberScriptReplacements());
}

QString unmarkedPhoneExpression(const QString &foldedPhone)
{
    return guardedChain(foldedPhone, SearchKeys::uncommonSeparatorRemovals());
}

QString phoneDigitsExpression(const QString &unmarkedPhone)
{
    // replace() knows no anchors, so the start is marked with U+0001 to turn
    // a leading +98 or 0098 into 0; then the mark and every + go.
    return QStringLiteral("replace(replace(replace(replace(char(1) || %1, char(1) || '+98', "
                          "char(1) || '0'), char(1) || '0098', char(1) || '0'), char(1), ''), "
                          "'+', '')")
        .arg(replacementChain(unmarkedPhone, SearchKeys::commonSeparatorRemovals()));
}

const QString &nameQueryStatement()
{
    // Equality on the indexed column, with the parameter folded by the very
    // expression that fills it; the index lists equal names in rowid order,
    // so "first" needs no sort.
    static const QString sql
        = QStringLiteral("SELECT rowid FROM %1 WHERE %2 = %3 ORDER BY rowid LIMIT 1")
              .arg(table, foldedNameColumn, foldedNameExpression(QStringLiteral("?")));
    return sql;
}

QList<GeneratedColumn> generatedColumns()
{
    return {
        {foldedNameColumn, foldedNameExpression(quoted(nameField))},
        {foldedPhoneColumn, foldedPhoneExpression(quoted(phoneField))},
        {unmarkedPhoneColumn, unmarkedPhoneExpression(foldedPhoneColumn)},
        {phoneDigitsColumn, phoneDigitsExpression(unmarkedPhoneColumn)},
    };
}

QString columnDefinition(const GeneratedColumn &column)
{
    return QStringLiteral("%1 TEXT GENERATED ALWAYS AS (%2) VIRTUAL")
        .arg(column.name, column.expression);
}

QString addColumnStatement(const GeneratedColumn &column)
{
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(table, columnDefinition(column));
}

QStringList companionStatements()
{
    // Version 3 adds the links of entries to address book cards, in tables
    // of their own; version 4 the recently deleted entries.
    QStringList statements = LinkTables::fileStatements();
    statements.append(DeletedTable::fileStatement());
    statements += {
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2(%3)")
            .arg(foldedNameIndex, table, foldedNameColumn),
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2(%3)")
            .arg(phoneDigitsIndex, table, phoneDigitsColumn),
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1(n INTEGER NOT NULL)").arg(countTable),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_after_insert AFTER INSERT ON %1 "
                       "BEGIN UPDATE %2 SET n = n + 1; END")
            .arg(table, countTable),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_after_delete AFTER DELETE ON %1 "
                       "BEGIN UPDATE %2 SET n = n - 1; END")
            .arg(table, countTable),
    };
    return statements;
}

QString createTableStatement()
{
    return QStringLiteral("CREATE TABLE %1 (%2 TEXT, %3 TEXT, %4 TEXT, %5 REAL)")
        .arg(table, quoted(nameField), quoted(phoneField), quoted(noteField),
             quoted(rowNumberField));
}

Status completeSchema(const QSqlDatabase &db)
{
    Status status;
    QSqlQuery query(db);
    // IMMEDIATE takes the write lock at once, so two processes completing the
    // same file run one after the other instead of failing on a lock upgrade.
    if (!run(query, QStringLiteral("BEGIN IMMEDIATE"), status))
        return status;
    status = addMissingPieces(db);
    if (status.ok()) {
        run(query, QStringLiteral("COMMIT"), status);
        return status;
    }
    // The first failure is the one worth reporting, not the rollback's.
    query.exec(QStringLiteral("ROLLBACK"));
    return status;
}

} // namespace dialvault::StoreSchema
