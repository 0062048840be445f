#pragma once

#include "store/serveraddress.h"
#include "store/statementwatch.h"
#include "store/storeengine.h"

#include <chrono>

struct pg_conn;
struct pg_result;

namespace dialvault {

// The phone book on a PostgreSQL server, through Qt's driver: one
// connection, opened with time-outs, so that a server that is down,
// unreachable or silent fails within seconds instead of hanging, and with
// every commit flushed to the server's disk before it is confirmed. Within
// a Watch, a statement that waits past its deadline is cancelled, or its
// connection cut (StatementWatch). A connection that breaks is closed, and
// opened again on the next use.
class PostgresEngine : public StoreEngine
{
public:
    PostgresEngine(const QString &url, std::chrono::milliseconds timeout);
    ~PostgresEngine() override;

    Status connect() override;
    Status open() override;
    Status openForReading() override;
    void close() override;
    bool isOpen() const override;
    const QSqlDatabase &database() const override;

    Status failure(const QSqlError &error, const QString &right = {}) override;
    bool connectionBroke(const Status &failure) const override;
    Status prepareForChanges() override;
    Status begin(Transaction kind) override;
    void renewWatch() override;
    std::unique_ptr<BatchImport> batchImport() override;

    bool keysAdds() const override { return true; }
    Result<bool> lostCommitStored(const QString &key) override;
    Result<qint64> keyOfAdd(const QString &clientKey) override;
    bool followsDeletedEntries() const override { return true; }

    const EngineSql &countStatement() const override;
    const EngineSql &firstEntryStatement() const override;
    const EngineSql &nameQueryStatement() const override;
    const EngineSql &readStatement() const override;
    const EngineSql &insertStatement() const override;
    const EngineSql &entriesStatement() const override;
    const EngineSql &candidatesStatement(bool byDigits) const override;
    const EngineSql &partSearchStatement(bool number, PartPlace place) const override;

    Result<KeyExtent> listExtent() override;
    const ListSql &listSql() const override;
    const LinkSql &linkSql() const override;
    const DeletedSql &deletedSql() const override;

    // For the engine's own statements sent with libpq itself (the batched
    // import): the driver's connection, null when closed; the check before
    // each; and a failure libpq reported, as failure() takes Qt's.
    pg_conn *connection() const;
    // Whether the server has the function that locks an import's keys
    // (ServerSchema::importLockFunction): a server prepared by an earlier
    // version lets one import run at a time.
    bool locksImportKeys() const { return m_locksImportKeys; }
    Status beforeStatement() override;
    Status failure(const pg_result *result, const QString &right = {});

protected:
    Status closedFailure() override;
    void startWatch() override;
    void endWatch() override;

private:
    // The server process that served a connection, so that after the
    // connection broke that process can be ended and nothing it still holds
    // can commit.
    struct Backend
    {
        qint64 pid = 0;
        qint64 startedUs = 0; // its start, in microseconds since 1970: a pid is reused
    };

    Status readBackend();
    Status checkPhoneBook();
    // `status`, a failure of the connection, with what the watch did and
    // whether the connection is still of use; one that is not is closed.
    Status settled(Status status);
    void closeBroken();
    // When the work watched must end: the timeout from now, or the
    // deadline, whichever comes first.
    StatementWatch::Clock::time_point watchDeadline() const;
    Status timedOut() const;
    // A new driver for the next connection; the statements of the last one
    // end after its driver, so that nothing is sent for them.
    void replaceDriver();

    QString m_name;
    QSqlDatabase m_db;
    Result<ServerAddress> m_address;
    std::chrono::milliseconds m_timeout;
    StatementWatch m_watch;
    Backend m_backend;
    Backend m_lostBackend; // of the connection that broke last
    bool m_locksImportKeys = false;
};

} // namespace dialvault
