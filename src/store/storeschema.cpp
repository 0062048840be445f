#include "store/storeschema.h"

#include "store/storefailure.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <utility>
#include <vector>

namespace dialvault::StoreSchema {

namespace {

// Each pair is (from, to). Persian keyboards type U+06CC and U+06A9 where
// older Arabic-form data has U+064A and U+0643; digits come in three scripts.
std::vector<std::pair<QChar, QChar>> foldedCharacters()
{
    std::vector<std::pair<QChar, QChar>> pairs{
        {QChar(0x06CC), QChar(0x064A)}, // Persian yeh
        {QChar(0x0649), QChar(0x064A)}, // alef maksura
        {QChar(0x06A9), QChar(0x0643)}, // keheh
    };
    for (char16_t digit = 0; digit < 10; ++digit) {
        pairs.emplace_back(QChar(u'\u06F0' + digit), QChar(u'0' + digit));
        pairs.emplace_back(QChar(u'\u0660' + digit), QChar(u'0' + digit));
    }
    return pairs;
}

bool run(QSqlQuery &query, const QString &sql, Status &status)
{
    if (query.exec(sql))
        return true;
    status = engineFailure(query.lastError());
    return false;
}

Status addMissingPieces(QSqlDatabase &db)
{
    Status status;
    QSqlQuery query(db);

    // Another process may have completed the file while this one waited.
    if (!run(query, QStringLiteral("PRAGMA user_version"), status))
        return status;
    if (query.next() && query.value(0).toInt() == version)
        return status;

    if (!run(query,
             QStringLiteral("SELECT 1 FROM pragma_table_xinfo('%1') WHERE name = '%2'")
                 .arg(table, foldedNameColumn),
             status))
        return status;
    const bool hasFoldedName = query.next();
    query.finish();
    if (!hasFoldedName
        && !run(query,
                QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT GENERATED ALWAYS AS (%3) VIRTUAL")
                    .arg(table, foldedNameColumn, foldedNameExpression(quoted(nameField))),
                status))
        return status;

    const QStringList statements{
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2(%3)")
            .arg(foldedNameIndex, table, foldedNameColumn),
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1(n INTEGER NOT NULL)").arg(countTable),
        // The triggers may be new, so the count is taken afresh.
        QStringLiteral("DELETE FROM %1").arg(countTable),
        QStringLiteral("INSERT INTO %1(n) SELECT COUNT(*) FROM %2").arg(countTable, table),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_after_insert AFTER INSERT ON %1 "
                       "BEGIN UPDATE %2 SET n = n + 1; END")
            .arg(table, countTable),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_after_delete AFTER DELETE ON %1 "
                       "BEGIN UPDATE %2 SET n = n - 1; END")
            .arg(table, countTable),
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
    for (const auto &[from, to] : foldedCharacters())
        expression
            = QStringLiteral("replace(%1, '%2', '%3')").arg(expression, QString(from), QString(to));
    return QStringLiteral("lower(%1)").arg(expression);
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

QString createTableStatement()
{
    return QStringLiteral("CREATE TABLE %1 (%2 TEXT, %3 TEXT, %4 TEXT, %5 REAL)")
        .arg(table, quoted(nameField), quoted(phoneField), quoted(noteField),
             quoted(rowNumberField));
}

Status completeSchema(QSqlDatabase &db)
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
