#pragma once

#include "store/serveraddress.h"
#include "store/storeengine.h"

namespace dialvault {

// The phone book on a PostgreSQL server, through Qt's driver: one
// connection, opened with time-outs, so that a server that is down,
// unreachable or silent fails within seconds instead of hanging, and with
// every commit flushed to the server's disk before it is confirmed. A
// connection that breaks is closed, and opened again on the next use.
class PostgresEngine : public StoreEngine
{
public:
    explicit PostgresEngine(const QString &url);
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

    bool keysAdds() const override { return true; }
    Result<bool> lostCommitStored(const QString &key) override;
    bool followsDeletedEntries() const override { return true; }

    const EngineSql &countStatement() const override;
    const EngineSql &firstEntryStatement() const override;
    const EngineSql &nameQueryStatement() const override;
    const EngineSql &readStatement() const override;
    const EngineSql &deleteStatement() const override;
    const EngineSql &insertStatement() const override;
    const EngineSql &entriesStatement() const override;
    const EngineSql &candidatesStatement(bool byDigits) const override;
    const EngineSql &partSearchStatement(bool number, PartPlace place) const override;

    Result<KeyExtent> listExtent() override;
    const ListSql &listSql() const override;
    const LinkSql &linkSql() const override;

protected:
    Status closedFailure() override;

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

    QString m_name;
    QSqlDatabase m_db;
    Result<ServerAddress> m_address;
    Backend m_backend;
    Backend m_lostBackend; // of the connection that broke last
};

} // namespace dialvault
