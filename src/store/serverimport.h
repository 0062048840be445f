#pragma once

#include "store/batchimport.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

struct pg_result;

namespace dialvault {

class PostgresEngine;

// An import into a phone book on a server, so that many people import at
// once and a file costs a handful of round trips. Entries go in batches:
// one round trip locks each entry's own key (a hash of its folded name and
// its number's digits, a row of ServerSchema::importKeysTable locked until
// the commit), then finds the entries already stored that may be its
// duplicates; the program decides as an import entry by entry does, and
// the next round trip stores the entries kept, in one statement, before
// the next batch's locks. Two imports of different people never wait for
// each other; two imports of the same person take turns on its key, so
// that it is stored once. Each round trip is one libpq pipeline on the
// engine's connection. On a server prepared by an earlier version, without
// the keys, imports take turns as they did.
class ServerImport final : public BatchImport
{
public:
    explicit ServerImport(PostgresEngine &engine);
    ~ServerImport() override;

    Status add(const ContactEntry &entry) override;
    Result<ImportCounts> commit() override;
    void rollback() override;

    // Entries per batch: a 20,000-card file in five round trips, its
    // commit included (a round trip over a slow link costs more than
    // the server's work on a batch).
    static constexpr std::size_t batchSize = 5000;

    // One statement of a round trip: its text with libpq's $n parameters,
    // their values as text, the right it needs, and what reads its answer.
    struct Statement
    {
        QByteArray sql;
        std::vector<QByteArray> values;
        QString right;
        std::function<Status(const pg_result *)> read;
    };

private:
    struct Row
    {
        ContactEntry entry;
        QString folded;
        QString digits; // numberDigits(): what a duplicate must equal
        QString stored; // storedNumberDigits(): the column the server looks in
        qint64 lockKey = 0;
    };

    // The batch waiting for its locks and duplicates, sent with the rows
    // decided before.
    Status sendBatch();
    void decide(const std::vector<std::vector<QString>> &candidatePhones);
    Statement insertKept();
    // Sends `statements` in one round trip; the first failure.
    Status roundTrip(std::vector<Statement> &statements);
    Status afterLostCommit(const Status &lost);
    // What the import stored, once committed; none when not all keys came.
    StoredKeys storedKeys();

    PostgresEngine &m_engine;
    std::vector<Row> m_waiting;
    std::vector<Row> m_kept; // decided, not yet sent
    bool m_begun = false;
    double m_stored = 0; // the count, as row numbers are handed out
    QString m_firstKey;
    ImportCounts m_counts;
    std::vector<qint64> m_keys; // of the entries stored
    quint64 m_digest = 0; // of the entries stored
};

} // namespace dialvault
