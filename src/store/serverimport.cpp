#include "store/serverimport.h"

#include "store/postgresengine.h"
#include "store/searchkeys.h"
#include "store/serverschema.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QHash>
#include <QUuid>

#include <libpq-fe.h>

#include <algorithm>
#include <type_traits>

namespace dialvault {

namespace {

using StoreSchema::quoted;

// The key an entry is locked by, the same in every program: FNV-1a over the
// folded name and the number's digits, which every duplicate shares.
qint64 lockKeyOf(const QString &folded, const QString &digits)
{
    quint64 hash = 14695981039346656037ull;
    for (const char byte : folded.toUtf8() + '\x1f' + digits.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 1099511628211ull;
    }
    return qint64(hash);
}

// An array of texts as PostgreSQL reads one given as text; a null QString is
// NULL.
QByteArray textArray(const std::vector<QString> &values)
{
    QByteArray array = "{";
    for (const QString &value : values) {
        if (array.size() > 1)
            array += ',';
        if (value.isNull()) {
            array += "NULL";
            continue;
        }
        array += '"';
        for (const char c : value.toUtf8()) {
            if (c == '"' || c == '\\')
                array += '\\';
            array += c;
        }
        array += '"';
    }
    return array + '}';
}

// An array of numbers as PostgreSQL reads one given as text.
template <typename Number>
QByteArray numberArray(const std::vector<Number> &values)
{
    QByteArray array = "{";
    for (const Number value : values) {
        if (array.size() > 1)
            array += ',';
        if constexpr (std::is_floating_point_v<Number>)
            array += QByteArray::number(value, 'g', 17);
        else
            array += QByteArray::number(value);
    }
    return array + '}';
}

struct Sql
{
    QByteArray locks;
    QByteArray candidates;
    QByteArray insert;
};

const Sql &sql()
{
    using namespace ServerSchema;
    static const Sql made = [] {
        Sql s;
        // In key order, so that two imports never wait for each other's
        // keys of one batch in opposite order.
        s.locks = QStringLiteral("SELECT %1($1::bigint[])").arg(importLockFunction).toUtf8();
        // The rows with the entry's folded name and stored digits (or its
        // name alone, for an entry without digits): the candidates an
        // import entry by entry reads, where the program then compares the
        // number's digits.
        const QString phone = quoted(StoreSchema::phoneField);
        s.candidates
            = QStringLiteral(
                  "SELECT u.i, t.%1 FROM unnest($1::text[], $2::text[]) WITH ORDINALITY AS "
                  "u(folded, stored, i) JOIN %2 t ON t.%3 = u.stored COLLATE \"C\" AND t.%4 = "
                  "u.folded COLLATE \"C\" WHERE u.stored <> '' UNION ALL SELECT u.i, t.%1 FROM "
                  "unnest($1::text[], $2::text[]) WITH ORDINALITY AS u(folded, stored, i) JOIN %2 "
                  "t ON t.%4 = u.folded COLLATE \"C\" WHERE u.stored = ''")
                  .arg(phone, table, phoneDigitsColumn, foldedNameColumn)
                  .toUtf8();
        // In the file's order, which the key column keeps; the keys are
        // answered, so that the import can be undone.
        s.insert
            = QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5, %6) SELECT n, p, o, r, k::uuid "
                             "FROM unnest($1::text[], $2::text[], $3::text[], "
                             "$4::float8[], $5::text[]) WITH ORDINALITY AS u(n, p, o, r, k, "
                             "i) ORDER BY i RETURNING %7")
                  .arg(table, quoted(StoreSchema::nameField), phone, quoted(StoreSchema::noteField),
                       quoted(StoreSchema::rowNumberField), clientKeyColumn, keyColumn)
                  .toUtf8();
        return s;
    }();
    return made;
}

// Whether `result` answered as a statement that succeeded does.
bool succeeded(const PGresult *result)
{
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK;
}

} // namespace

ServerImport::ServerImport(PostgresEngine &engine)
    : m_engine(engine)
{ }

ServerImport::~ServerImport() = default;

Status ServerImport::add(const ContactEntry &entry)
{
    // An entry read is the import going on, not a server that stopped.
    m_engine.renewWatch();
    Row row{entry, foldedName(entry.name), numberDigits(entry.phone),
            storedNumberDigits(entry.phone)};
    row.lockKey = lockKeyOf(row.folded, row.digits);
    m_waiting.push_back(std::move(row));
    if (m_waiting.size() < batchSize)
        return {};
    return sendBatch();
}

Status ServerImport::sendBatch()
{
    std::vector<Statement> statements;
    const bool keyed = m_engine.locksImportKeys();
    if (!m_begun) {
        // The count is read where the transaction begins: row numbers
        // follow it, as an add from the main window numbers its entry.
        statements.push_back({"BEGIN", {}, {}, {}});
        statements.push_back({QStringLiteral("SELECT pg_advisory_xact_lock%1(%2)")
                                  .arg(keyed ? QStringLiteral("_shared") : QString())
                                  .arg(ServerSchema::importLock)
                                  .toUtf8(),
                              {},
                              {},
                              {}});
        statements.push_back({ServerSchema::countStatement().toUtf8(),
                              {},
                              m_engine.countStatement().right,
                              [this](const PGresult *result) {
                                  if (PQntuples(result) != 1 || PQgetisnull(result, 0, 0))
                                      return storeFailure(CountMissing);
                                  m_stored = QByteArray(PQgetvalue(result, 0, 0)).toDouble();
                                  return Status{};
                              }});
    }
    if (!m_kept.empty())
        statements.push_back(insertKept());
    std::vector<qint64> keys;
    std::vector<QString> folded;
    std::vector<QString> stored;
    for (const Row &row : m_waiting) {
        keys.push_back(row.lockKey);
        folded.push_back(row.folded);
        stored.push_back(row.stored);
    }
    if (keyed)
        statements.push_back(
            {sql().locks,
             {numberArray(keys)},
             ServerSchema::right(
                 "EXECUTE",
                 QStringLiteral("FUNCTION %1(bigint[])").arg(ServerSchema::importLockFunction)),
             {}});
    std::vector<std::vector<QString>> candidates(m_waiting.size());
    statements.push_back({sql().candidates,
                          {textArray(folded), textArray(stored)},
                          ServerSchema::right("SELECT"),
                          [&candidates](const PGresult *result) {
                              for (int r = 0; r < PQntuples(result); ++r) {
                                  const qsizetype i
                                      = QByteArray(PQgetvalue(result, r, 0)).toLongLong() - 1;
                                  if (i >= 0 && i < qsizetype(candidates.size()))
                                      candidates[std::size_t(i)].push_back(
                                          QString::fromUtf8(PQgetvalue(result, r, 1)));
                              }
                              return Status{};
                          }});
    m_begun = true;
    if (Status sent = roundTrip(statements); !sent.ok())
        return sent;
    decide(candidates);
    return {};
}

void ServerImport::decide(const std::vector<std::vector<QString>> &candidatePhones)
{
    // The entries of this batch kept so far, by what the server would look
    // them up by: they are not stored yet, so the server did not find them.
    QHash<QString, std::vector<std::size_t>> keptNow;
    for (std::size_t i = 0; i < m_waiting.size(); ++i) {
        Row &row = m_waiting[i];
        bool duplicate
            = std::any_of(candidatePhones[i].begin(), candidatePhones[i].end(),
                          [&](const QString &phone) { return numberDigits(phone) == row.digits; });
        std::vector<std::size_t> &earlier
            = keptNow[row.stored.isEmpty() ? u'n' + row.folded : u'd' + row.stored];
        duplicate
            = duplicate || std::any_of(earlier.begin(), earlier.end(), [&](std::size_t j) {
                  return m_waiting[j].folded == row.folded && m_waiting[j].digits == row.digits;
              });
        if (duplicate) {
            ++m_counts.duplicates;
            continue;
        }
        earlier.push_back(i);
        ++m_counts.added;
        row.entry.rowNumber = ++m_stored;
        m_kept.push_back(row);
    }
    m_waiting.clear();
}

ServerImport::Statement ServerImport::insertKept()
{
    std::vector<QString> names;
    std::vector<QString> phones;
    std::vector<QString> notes;
    std::vector<double> rowNumbers;
    std::vector<QString> keys;
    for (const Row &row : m_kept) {
        m_digest += entryDigest({row.entry.name, row.entry.phone, row.entry.note});
        names.push_back(textValue(row.entry.name).toString());
        phones.push_back(textValue(row.entry.phone).toString());
        notes.push_back(textValue(row.entry.note).toString());
        rowNumbers.push_back(row.entry.rowNumber);
        // The first entry carries a key, by which the import is found again
        // when the answer to its commit is lost.
        if (m_firstKey.isEmpty()) {
            m_firstKey = QUuid::createUuid().toString(QUuid::WithoutBraces);
            keys.push_back(m_firstKey);
        } else {
            keys.push_back(QString());
        }
    }
    m_kept.clear();
    return {sql().insert,
            {textArray(names), textArray(phones), textArray(notes), numberArray(rowNumbers),
             textArray(keys)},
            ServerSchema::right("INSERT"),
            [this](const PGresult *result) {
                for (int r = 0; r < PQntuples(result); ++r)
                    m_keys.push_back(QByteArray(PQgetvalue(result, r, 0)).toLongLong());
                return Status{};
            }};
}

Result<ImportCounts> ServerImport::commit()
{
    Result<ImportCounts> result;
    if (!m_waiting.empty()) {
        if (Status sent = sendBatch(); !sent.ok()) {
            rollback();
            result.error = sent.error;
            return result;
        }
    }
    if (!m_begun) {
        result.value = m_counts; // nothing to store
        return result;
    }
    std::vector<Statement> statements;
    if (!m_kept.empty())
        statements.push_back(insertKept());
    statements.push_back({"COMMIT", {}, {}, {}});
    m_begun = false;
    Status committed = roundTrip(statements);
    if (!committed.ok() && m_engine.connectionBroke(committed))
        committed = afterLostCommit(committed);
    else if (!committed.ok())
        m_engine.rollback();
    result.error = committed.error;
    if (result.ok()) {
        result.value = m_counts;
        result.value.stored = storedKeys();
    }
    return result;
}

StoredKeys ServerImport::storedKeys()
{
    // Imports side by side take keys in turn: this one's are ranges.
    std::sort(m_keys.begin(), m_keys.end());
    StoredKeys stored;
    stored.digest = m_digest;
    for (const qint64 key : m_keys) {
        if (!stored.ranges.isEmpty() && stored.ranges.last().last + 1 == key)
            stored.ranges.last().last = key;
        else
            stored.ranges.append({key, key});
    }
    // A commit whose answer was lost answered no keys: not known, not undone.
    if (qint64(m_keys.size()) != m_counts.added)
        stored = {};
    m_keys.clear();
    return stored;
}

// The commit was sent, or may have been, and its answer lost: what was kept
// is asked on a new connection.
Status ServerImport::afterLostCommit(const Status &lost)
{
    if (m_firstKey.isEmpty())
        return {}; // nothing was to be stored
    const Result<bool> found = m_engine.lostCommitStored(m_firstKey);
    if (!found.ok())
        return outcomeUnknown(lost);
    return found.value ? Status{} : lost;
}

void ServerImport::rollback()
{
    if (m_begun)
        m_engine.rollback();
    m_begun = false;
    m_waiting.clear();
    m_kept.clear();
    m_keys.clear();
    m_digest = 0;
}

Status ServerImport::roundTrip(std::vector<Statement> &statements)
{
    if (Status allowed = m_engine.beforeStatement(); !allowed.ok())
        return allowed;
    PGconn *connection = m_engine.connection();
    if (!connection || PQenterPipelineMode(connection) != 1)
        return m_engine.failure(nullptr);
    int sent = 0;
    for (const Statement &statement : statements) {
        std::vector<const char *> values;
        for (const QByteArray &value : statement.values)
            values.push_back(value.constData());
        if (PQsendQueryParams(connection, statement.sql.constData(), int(values.size()), nullptr,
                              values.data(), nullptr, nullptr, 0)
            != 1)
            break;
        ++sent;
    }
    Status first;
    if (PQpipelineSync(connection) != 1)
        return m_engine.failure(nullptr); // the connection is of no more use
    for (int i = 0; i < sent; ++i) {
        PGresult *result = PQgetResult(connection);
        if (!result)
            return m_engine.failure(nullptr);
        const Statement &statement = statements[std::size_t(i)];
        if (succeeded(result)) {
            if (first.ok() && statement.read)
                first = statement.read(result);
        } else if (PQresultStatus(result) != PGRES_PIPELINE_ABORTED && first.ok()) {
            first = m_engine.failure(result, statement.right);
        }
        PQclear(result);
        if (!m_engine.isOpen())
            return first; // the connection broke with it
        // Each statement's answer ends with a null.
        while ((result = PQgetResult(connection)))
            PQclear(result);
    }
    PGresult *sync = PQgetResult(connection);
    const bool synced = sync && PQresultStatus(sync) == PGRES_PIPELINE_SYNC;
    PQclear(sync);
    if (!synced || PQexitPipelineMode(connection) != 1) {
        const Status broken = m_engine.failure(nullptr);
        return first.ok() ? broken : first;
    }
    if (first.ok() && sent < int(statements.size()))
        first = m_engine.failure(nullptr); // libpq refused to send one
    return first;
}

} // namespace dialvault
