#include "store/sqliteengine.h"

#include "store/databasecheck.h"
#include "store/deletedtable.h"
#include "store/linktables.h"
#include "store/schemacheck.h"
#include "store/sqliteimportstatements.h"
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
        // The count with the schema's version: opening the file prepares
        // this one statement, which the count then runs again.
        s.count.text
            = QStringLiteral(
                  "SELECT (SELECT n FROM %1), (SELECT user_version FROM pragma_user_version)")
                  .arg(countTable);
        s.firstEntry.text
            = QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid LIMIT 1").arg(table);
        s.nameQuery.text = nameQueryStatement();
        s.read.text = QStringLiteral("SELECT %1, %2 FROM %3 WHERE rowid = ?")
                          .arg(quoted(phoneField), quoted(noteField), table);
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
    // Before SQLite reads the file: it may claim gigabytes it has not.
    Status status = checkPageCount(m_path);
    if (status.ok()) {
        // A file that cannot be opened leaves the previous connection in use.
        if (status = connect(); !status.ok())
            return status;
        status = checkPhoneBook();
    }
    // A file refused is not used: the next statement opens it again, and is
    // refused again, rather than run whatever of another program's it holds.
    if (!status.ok())
        close();
    return status;
}

Status SqliteEngine::openForReading()
{
    return connectFor(SqliteUse::Reading);
}

Status SqliteEngine::checkPhoneBook()
{
    Status status;
    int version = -1; // an older file may lack the count table that tells it
    if (QSqlQuery *query = statement(countStatement(), status)) {
        if (!query->exec() || !query->next())
            return failure(query->lastError());
        version = query->value(1).toInt();
        query->finish();
    }
    // At every opening: another file may have been put in this one's place.
    if (status = checkSchema(database()); !status.ok())
        return status;
    if (version >= StoreSchema::version)
        return {};
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
    // A file refused at its last opening is opened, and checked, again.
    if (!isOpen()) {
        if (Status reopened = open(); !reopened.ok())
            return reopened;
    }
    return m_connections[m_current].makeDurable();
}

Status SqliteEngine::begin(Transaction kind)
{
    if (kind == Transaction::Snapshot)
        return run(QStringLiteral("BEGIN"));
    // IMMEDIATE takes the write lock before the first read, so that no other
    // writer changes what the transaction read until it commits.
    Status status = prepareForChanges();
    if (status.ok())
        status = run(QStringLiteral("BEGIN IMMEDIATE"));
    // Nor the schema: checked under the lock, it holds for every change made
    // until the commit, even one another program made since the opening.
    if (status.ok() && !(status = checkSchema(database())).ok())
        rollback();
    return status;
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

const EngineSql &SqliteEngine::insertStatement() const
{
    return statements().insert;
}

std::unique_ptr<ImportStatements> SqliteEngine::importStatements(Status &status)
{
    if (!isOpen()) {
        status = closedFailure();
        return nullptr;
    }
    sqlite3 *const db = m_connections[m_current].handle();
    if (!db)
        return StoreEngine::importStatements(status);
    const QString candidates[2]{statements().candidates[0].text, statements().candidates[1].text};
    return sqliteImportStatements(db, candidates, statements().insert.text, status);
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
    if (const Status checked = checkSchema(database()); !checked.ok())
        return failed<KeyExtent>(checked.error);

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

const DeletedSql &SqliteEngine::deletedSql() const
{
    return fileDeletedSql();
}

} // namespace dialvault
