#pragma once

#include "store/sqliteconnection.h"
#include "store/storeengine.h"

namespace dialvault {

// A phone book in a SQLite file (db1.mdb). Two connections take turns, so
// that opening the file again and failing leaves the previous one in use.
class SqliteEngine : public StoreEngine
{
public:
    explicit SqliteEngine(const QString &path);
    ~SqliteEngine() override;

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

    bool keysAdds() const override { return false; }
    Result<bool> lostCommitStored(const QString &key) override;
    bool followsDeletedEntries() const override { return false; }

    const EngineSql &countStatement() const override;
    const EngineSql &firstEntryStatement() const override;
    const EngineSql &nameQueryStatement() const override;
    const EngineSql &readStatement() const override;
    const EngineSql &insertStatement() const override;
    std::unique_ptr<ImportStatements> importStatements(Status &status) override;
    const EngineSql &entriesStatement() const override;
    const EngineSql &candidatesStatement(bool byDigits) const override;
    const EngineSql &partSearchStatement(bool number, PartPlace place) const override;

    Result<KeyExtent> listExtent() override;
    const ListSql &listSql() const override;
    const LinkSql &linkSql() const override;
    const DeletedSql &deletedSql() const override;

protected:
    Status closedFailure() override;

private:
    Status connectFor(SqliteUse use);
    Status checkPhoneBook();

    QString m_path;
    SqliteConnection m_connections[2];
    int m_current = -1;
};

} // namespace dialvault
