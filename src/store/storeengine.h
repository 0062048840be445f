#pragma once

#include "store/importstatements.h"
#include "store/partquery.h"
#include "store/phonebooksource.h"
#include "store/storeerror.h"

#include <QDeadlineTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <utility>

class QSqlError;

namespace dialvault {

class BatchImport;
struct DeletedSql;
struct LinkSql;

// A statement in the engine's SQL, and the right on a server that it needs
// (as GRANT names it, "INSERT ON test"), named when the server refuses it.
struct EngineSql
{
    QString text;
    QString right = {};
};

// What a transaction of several statements is for.
enum class Transaction {
    // Changes that rely on what they read first (an import's count and its
    // duplicates): such transactions take turns, and a file is locked for
    // writing before the first read.
    Write,
    // Reads that see the phone book as it stood at one moment.
    Snapshot,
};

// How many entries a table holds and the range of the keys that order them.
struct KeyExtent
{
    qint64 count = 0;
    qint64 first = 0; // the smallest key; meaningless when count is 0
    qint64 last = 0; // the largest

    // Entry i has key first + i.
    bool dense() const { return count > 0 && quint64(last) - quint64(first) == quint64(count - 1); }
};

// Where the contact list reads the entries, and the private copy it keeps of
// them so as to show one moment while others write.
struct ListSql
{
    QString table; // the phone book's table, as the list names it
    QString key; // its column that orders the entries
    QString copyTable;
    QString copyKey; // the copy's positions, from 1 without gaps
    QString createCopy; // makes the copy, empty
    // Copies the next entries in key order, from the key bound first, at
    // most as many as bound second; the source's key goes into column src.
    QString copyChunk;
};

// One connection to a phone book, on the engine that keeps it: a SQLite file
// or a PostgreSQL server. Everything that differs between engines is here
// (connecting, transactions, failures and their causes, the statements), so
// that the store's operations are written once. makeStoreEngine() chooses
// the engine for a phone book.
class StoreEngine
{
public:
    virtual ~StoreEngine();
    StoreEngine(const StoreEngine &) = delete;
    StoreEngine &operator=(const StoreEngine &) = delete;

    // Makes a new connection; the one in use is replaced only once the new
    // one is made. Nothing about the phone book is checked.
    virtual Status connect() = 0;
    // The phone book ready for use as it is now: connected as the engine
    // needs (a file afresh, since another may have been put in its place; a
    // server connection that works is kept), and checked, an older file
    // completed first.
    virtual Status open() = 0;
    // Connects for reading only: nothing is ever written, not even to
    // complete an older file. Nothing is checked.
    virtual Status openForReading() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Counts the connections made: statements prepared on an earlier one
    // are prepared again.
    int generation() const { return m_generation; }
    virtual const QSqlDatabase &database() const = 0;

    // `sql` prepared, forward-only, once on this connection; null on
    // failure, with `status` set. A broken connection is not made again.
    QSqlQuery *statement(const EngineSql &sql, Status &status);
    // `sql` run once.
    Status run(const QString &sql, const QString &right = {});
    // The first value of the one-row answer to `sql`.
    Result<QVariant> scalar(const QString &sql);
    // A failure of a statement on this connection as a StoreError with its
    // cause; `right` for a refused permission. A failure that broke the
    // connection closes it.
    virtual Status failure(const QSqlError &error, const QString &right = {}) = 0;
    // Whether `failure` means the connection broke: the next use makes a
    // new one, and a statement that may run twice may be sent again on it.
    virtual bool connectionBroke(const Status &failure) const = 0;

    // Before the first change on this connection: a change is on the disk
    // (the server's) before it is reported.
    virtual Status prepareForChanges() = 0;
    virtual Status begin(Transaction kind) = 0;
    Status commit();
    // Nothing is reported: the failure that led to it is the one that counts.
    void rollback();

    // Holds the work on this connection to its deadlines while the guard
    // lives (each operation of the store takes one; they nest): on a
    // server, a statement that waits past the timeout of the phone book's
    // source, or past setDeadline(), is cancelled, and the connection cut
    // when the cancel does not get through, so that nothing waits for ever.
    class Watch
    {
    public:
        explicit Watch(StoreEngine &engine);
        ~Watch();
        Watch(const Watch &) = delete;
        Watch &operator=(const Watch &) = delete;

    private:
        StoreEngine &m_engine;
    };
    // The latest moment of the work under way (a window's operation),
    // beside each statement's timeout: after it no statement is sent and
    // no connection made. Never, unless set.
    void setDeadline(const QDeadlineTimer &deadline) { m_deadline = deadline; }
    const QDeadlineTimer &deadline() const { return m_deadline; }
    // Within a Watch, the work goes on (a row read, a batch sent): the wait
    // for the server starts again.
    virtual void renewWatch() { }

    // The engine's own way of importing, which decides duplicates and
    // stores many entries per round trip; null where the store's import
    // goes entry by entry. Begun on the open connection.
    virtual std::unique_ptr<BatchImport> batchImport();

    // Whether adds carry a key made by the client (bound after the four
    // fields, NULL for none), so that an add sent again after its answer was
    // lost is stored once, and an import whose commit was lost can be found.
    virtual bool keysAdds() const = 0;
    // After a commit whose answer was lost with the connection: on a new
    // connection, once nothing of the lost one can still commit, whether the
    // entry carrying `key` is stored.
    virtual Result<bool> lostCommitStored(const QString &key) = 0;
    // Where adds carry a client's key: the key of the entry stored under
    // `clientKey`, 0 when none. (Otherwise the driver's last insert id
    // tells it.)
    virtual Result<qint64> keyOfAdd(const QString &clientKey)
    {
        Q_UNUSED(clientKey);
        return {};
    }
    // Whether a delete whose entry another connection deleted a moment
    // before goes on to the name's first entry now, as where many people
    // delete at once, instead of failing with RecordIsDeleted.
    virtual bool followsDeletedEntries() const = 0;

    // The exact number of entries, in the first column of one row; NULL
    // when the kept count is gone.
    virtual const EngineSql &countStatement() const = 0;
    // The key of the first entry.
    virtual const EngineSql &firstEntryStatement() const = 0;
    // The key of the first entry whose folded name equals the folded parameter.
    virtual const EngineSql &nameQueryStatement() const = 0;
    // The phone number and note of the entry with the key given.
    virtual const EngineSql &readStatement() const = 0;
    // The four fields, then the client's key when keysAdds().
    virtual const EngineSql &insertStatement() const = 0;
    // The candidates and insert statements for an import, prepared on this
    // connection; by default through Qt's driver, one row at a time.
    virtual std::unique_ptr<ImportStatements> importStatements(Status &status);
    // The four fields of every entry, in order.
    virtual const EngineSql &entriesStatement() const = 0;
    // The name and number of the entries whose stored digits (or folded
    // name) equal the parameter.
    virtual const EngineSql &candidatesStatement(bool byDigits) const = 0;
    // The entries a search by part finds, in order: the start of the folded
    // name or digits (two parameters, the range) or a part anywhere (one).
    virtual const EngineSql &partSearchStatement(bool number, PartPlace place) const = 0;

    // The list's entries: the count the phone book keeps and the range of
    // their keys. NoTable (ServerNotPrepared on a server) or MissingField
    // when there is no list to show.
    virtual Result<KeyExtent> listExtent() = 0;
    virtual const ListSql &listSql() const = 0;

    // The statements that sync entries with an address book's cards.
    virtual const LinkSql &linkSql() const = 0;
    // The statements that correct, delete, put back and purge entries.
    virtual const DeletedSql &deletedSql() const = 0;

protected:
    StoreEngine() = default;
    // A Watch begins and ends; only the outermost one counts.
    virtual void startWatch() { }
    virtual void endWatch() { }
    bool watching() const { return m_watches > 0; }
    // Before each statement that statement(), run() and scalar() give or
    // send: a failure keeps it from being sent.
    virtual Status beforeStatement() { return {}; }
    // The failure of a statement asked for on a closed connection.
    virtual Status closedFailure() = 0;
    // Before the connection closes or is replaced: its statements go first.
    void forgetStatements() { m_statements.clear(); }
    // The statements, taken away to be ended once the driver is gone.
    std::map<QString, QSqlQuery> takeStatements() { return std::exchange(m_statements, {}); }
    // A new connection is in use.
    void connectionMade() { ++m_generation; }

private:
    std::map<QString, QSqlQuery> m_statements;
    int m_generation = 0;
    int m_watches = 0;
    QDeadlineTimer m_deadline{QDeadlineTimer::Forever};
};

// The engine of the phone book at `source`, not yet connected.
std::unique_ptr<StoreEngine> makeStoreEngine(const PhoneBookSource &source);

// Typed text, even empty, as text: Qt binds a null QString as NULL.
QVariant textValue(const QString &text);

} // namespace dialvault
