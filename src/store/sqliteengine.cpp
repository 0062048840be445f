#include "store/sqliteengine.h"

#include "store/linktables.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QSqlError>
#include <QStringList>

#include <algorithm>

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

QString tableExists(const QString &table)
{
    return QStringLiteral("EXISTS (SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND "
                          "name = '%1' COLLATE NOCASE)")
        .arg(table);
}

// The start of a text is a range of the index. A part anywhere needs every
// value, which the index holds already computed: scanning it is far cheaper
// than computing the generated column for every row of the table (SQLite
// does not yet see such an index as covering, hence INDEXED BY). Either way
// the matching rowids are then read in order.
QString partSearch(bool number, PartPlace place)
{
    using namespace StoreSchema;
    const QString &column = number ? phoneDigitsColumn : foldedNameColumn;
    const QString &index = number ? phoneDigitsIndex : foldedNameIndex;
    const QString matching = place == PartPlace::Start
        ? QStringLiteral("SELECT rowid FROM %1 WHERE %2 >= ? AND %2 < ?").arg(table, column)
        : QStringLiteral("SELECT rowid FROM %1 INDEXED BY %2 WHERE instr(%3, ?) > 0")
              .arg(table, index, column);
    return QStringLiteral("SELECT %1 FROM %2 WHERE rowid IN (%3) ORDER BY rowid")
        .arg(fields(), table, matching);
}

struct Statements
{
    EngineSql count;
    EngineSql firstEntry;
    EngineSql nameQuery;
    EngineSql read;
    EngineSql remove;
    EngineSql insert;
    EngineSql entries;
    EngineSql candidates[2]; // by name, by digits
    EngineSql parts[2][2]; // [number][start]
    ListSql list;
};

const Statements &statements()
{
    using namespace StoreSchema;
    static const Statements made = [] {
        Statements s;
        // The count with the schema's version and whether table `test`
        // exists: opening the file prepares this one statement, which the
        // count then runs again.
        s.count.text
            = QStringLiteral(
                  "SELECT (SELECT n FROM %1), (SELECT user_version FROM pragma_user_version), %2")
                  .arg(countTable, tableExists(table));
        s.firstEntry.text
            = QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid LIMIT 1").arg(table);
        s.nameQuery.text = nameQueryStatement();
        s.read.text = QStringLiteral("SELECT %1, %2 FROM %3 WHERE rowid = ?")
                          .arg(quoted(phoneField), quoted(noteField), table);
        s.remove.text = QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(table);
        s.insert.text
            = QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?)").arg(table, fields());
        s.entries.text = QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(fields(), table);
        for (const bool byDigits : {false, true})
            s.candidates[byDigits].text = QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
                                              .arg(quoted(nameField), quoted(phoneField), table,
                                                   byDigits ? phoneDigitsColumn : foldedNameColumn);
        for (const bool number : {false, true}) {
            for (const bool start : {false, true})
                s.parts[number][start].text
                    = partSearch(number, start ? PartPlace::Start : PartPlace::Anywhere);
        }
        // The copy numbers its entries itself: its rowid.
        s.list = {QStringLiteral("main.") + table,
                  QStringLiteral("rowid"),
                  QStringLiteral("temp.entries"),
                  QStringLiteral("rowid"),
                  QStringLiteral("CREATE TEMP TABLE entries (src INTEGER, %1)").arg(fields()),
                  QStringLiteral("INSERT INTO temp.entries SELECT rowid, %1 FROM main.%2 WHERE "
                                 "rowid >= ? ORDER BY rowid LIMIT ?")
                      .arg(fields(), table)};
        return s;
    }();
    return made;
}

Status noTable()
{
    return {
        {1, QStringLiteral("no such table: %1").arg(StoreSchema::table), FailureCause::NoTable}};
}

template <typename T>
Result<T> failed(const StoreError &error)
{
    Result<T> result;
    result.error = error;
    return result;
}

} // namespace

SqliteEngine::SqliteEngine(const QString &path)
    : m_path(path)
{ }

SqliteEngine::~SqliteEngine()
{
    close();
}

Status SqliteEngine::connectFor(SqliteUse use)
{
    const int next = m_current == 0 ? 1 : 0;
    Status status = m_connections[next].open(m_path, use);
    if (!status.ok())
        return status;
    forgetStatements();
    if (m_current >= 0)
        m_connections[m_current].close();
    m_current = next;
    connectionMade();
    return status;
}

Status SqliteEngine::connect()
{
    return connectFor(SqliteUse::Writing);
}

Status SqliteEngine::open()
{
    if (Status status = connect(); !status.ok())
        return status;
    return checkPhoneBook();
}

Status SqliteEngine::openForReading()
{
    return connectFor(SqliteUse::Reading);
}

Status SqliteEngine::checkPhoneBook()
{
    Status status;
    if (QSqlQuery *query = statement(countStatement(), status)) {
        if (!query->exec() || !query->next())
            return failure(query->lastError());
        const int version = query->value(1).toInt();
        const bool hasTable = query->value(2).toBool();
        query->finish();
        if (!hasTable)
            return noTable();
        if (version == StoreSchema::version)
            return {};
    }
    // An older or foreign file, perhaps without the count table yet.
    const Result<QVariant> hasTable
        = scalar(QStringLiteral("SELECT ") + tableExists(StoreSchema::table));
    if (!hasTable.ok())
        return hasTable;
    if (!hasTable.value.toBool())
        return noTable();
    forgetStatements();
    return StoreSchema::completeSchema(database());
}

void SqliteEngine::close()
{
    forgetStatements();
    if (m_current >= 0)
        m_connections[m_current].close();
    m_current = -1;
}

bool SqliteEngine::isOpen() const
{
    return m_current >= 0 && m_connections[m_current].isOpen();
}

const QSqlDatabase &SqliteEngine::database() const
{
    return m_connections[std::max(m_current, 0)].database();
}

Status SqliteEngine::failure(const QSqlError &error, const QString &)
{
    return sqliteFailure(error);
}

bool SqliteEngine::connectionBroke(const Status &) const
{
    return false;
}

Status SqliteEngine::closedFailure()
{
    return storeFailure(ObjectNotSet);
}

Status SqliteEngine::prepareForChanges()
{
    if (!isOpen())
        return closedFailure();
    return m_connections[m_current].makeDurable();
}

Status SqliteEngine::begin(Transaction kind)
{
    if (kind == Transaction::Snapshot)
        return run(QStringLiteral("BEGIN"));
    // IMMEDIATE takes the write lock before the first read, so that no other
    // writer changes what the transaction read until it commits.
    Status status = prepareForChanges();
    return status.ok() ? run(QStringLiteral("BEGIN IMMEDIATE")) : status;
}

Result<bool> SqliteEngine::lostCommitStored(const QString &)
{
    // A file's commit is answered by the library itself: it is never lost.
    return failed<bool>(storeFailure(ObjectNotSet).error);
}

const EngineSql &SqliteEngine::countStatement() const
{
    return statements().count;
}

const EngineSql &SqliteEngine::firstEntryStatement() const
{
    return statements().firstEntry;
}

const EngineSql &SqliteEngine::nameQueryStatement() const
{
    return statements().nameQuery;
}

const EngineSql &SqliteEngine::readStatement() const
{
    return statements().read;
}

const EngineSql &SqliteEngine::deleteStatement() const
{
    return statements().remove;
}

const EngineSql &SqliteEngine::insertStatement() const
{
    return statements().insert;
}

const EngineSql &SqliteEngine::entriesStatement() const
{
    return statements().entries;
}

const EngineSql &SqliteEngine::candidatesStatement(bool byDigits) const
{
    return statements().candidates[byDigits];
}

const EngineSql &SqliteEngine::partSearchStatement(bool number, PartPlace place) const
{
    return statements().parts[number][place == PartPlace::Start];
}

const ListSql &SqliteEngine::listSql() const
{
    return statements().list;
}

Result<KeyExtent> SqliteEngine::listExtent()
{
    using namespace StoreSchema;
    const auto hasTable = scalar(QStringLiteral("SELECT ") + tableExists(table));
    if (!hasTable.ok())
        return failed<KeyExtent>(hasTable.error);
    if (!hasTable.value.toBool())
        return failed<KeyExtent>(noTable().error);

    const auto present = scalar(QStringLiteral("SELECT group_concat(name, char(10)) FROM "
                                               "pragma_table_info('%1', 'main')")
                                    .arg(table));
    if (!present.ok())
        return failed<KeyExtent>(present.error);
    const QStringList columns = present.value.toString().split(QLatin1Char('\n'));
    for (const QString &field : {nameField, phoneField, noteField, rowNumberField}) {
        if (!columns.contains(field))
            return failed<KeyExtent>(
                {1, QStringLiteral("no such column: %1").arg(field), FailureCause::MissingField});
    }

    // The kept count makes the size known without walking the table; a file
    // that keeps none yet (the main window adds it on its next opening) is
    // counted once.
    const auto hasCount = scalar(QStringLiteral("SELECT ") + tableExists(countTable));
    if (!hasCount.ok())
        return failed<KeyExtent>(hasCount.error);
    Result<QVariant> count;
    if (hasCount.value.toBool())
        count = scalar(QStringLiteral("SELECT (SELECT n FROM main.%1)").arg(countTable));
    if (!hasCount.value.toBool() || (count.ok() && count.value.isNull()))
        count = scalar(QStringLiteral("SELECT COUNT(*) FROM main.%1").arg(table));
    if (!count.ok())
        return failed<KeyExtent>(count.error);

    // Two subqueries: min and max of the rowid together in one would walk the table.
    QSqlQuery range(database());
    range.setForwardOnly(true);
    if (!range.exec(QStringLiteral("SELECT (SELECT min(rowid) FROM main.%1), (SELECT max(rowid) "
                                   "FROM main.%1)")
                        .arg(table))
        || !range.next())
        return failed<KeyExtent>(failure(range.lastError()).error);

    Result<KeyExtent> result;
    if (!range.value(0).isNull()) {
        result.value.count = std::max<qint64>(0, count.value.toLongLong());
        result.value.first = range.value(0).toLongLong();
        result.value.last = range.value(1).toLongLong();
    }
    return result;
}

const LinkSql &SqliteEngine::linkSql() const
{
    return fileLinkSql();
}

} // namespace dialvault
