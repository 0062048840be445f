#include "store/postgresengine.h"

#include "store/deletedtable.h"
#include "store/linktables.h"
#include "store/serverfailure.h"
#include "store/serverimport.h"
#include "store/serverschema.h"
#include "store/storeschema.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QStringList>

#include <libpq-fe.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace dialvault {

namespace {

std::atomic<quint64> connectionCounter{0};

// libpq's parameters that keep a connection from hanging: how long to wait
// for the server to answer at all, and how long a connection that stopped
// answering is kept. A person's own values in the URL win.
const std::pair<const char *, const char *> defaultParameters[]{
    {"keepalives", "1"},       {"keepalives_idle", "5"},      {"keepalives_interval", "2"},
    {"keepalives_count", "3"}, {"tcp_user_timeout", "10000"}, {"application_name", "dialvault"},
};
// Seconds to wait for a server to take a connection.
constexpr int connectSeconds = 4;

// Settings of every session, sent with the connection itself: a commit is on
// disk before it is confirmed, whatever the server's own default, an
// abandoned transaction ends, and the server's notices are not printed (its
// failures come back as such). With the timeouts of sessionTimeouts().
const char sessionOptions[] = "-c idle_in_transaction_session_timeout=60000 "
                              "-c synchronous_commit=on -c client_min_messages=error";

// The server's own limits, from the program's timeout: a wait for another's
// lock ends on the server at the timeout, so that it is told as such before
// the program's watch cuts it short a moment later; a statement ends on the
// server at twice the timeout, should the program be gone.
QString sessionTimeouts(std::chrono::milliseconds timeout)
{
    return QStringLiteral("-c lock_timeout=%1 -c statement_timeout=%2")
        .arg(timeout.count())
        .arg(2 * timeout.count());
}

// How long after the timeout the watch acts, so that the server's own
// answer to a timeout comes first where it can.
std::chrono::milliseconds watchMargin(std::chrono::milliseconds timeout)
{
    return std::max(std::chrono::milliseconds(500), timeout / 10);
}

QString quotedValue(const QString &value)
{
    QString quoted = value;
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + quoted + u'\'';
}

QString connectOptions(const ServerAddress &address, std::chrono::milliseconds timeout,
                       int connectTimeout)
{
    QStringList options;
    if (!address.hasParameter(QStringLiteral("connect_timeout")))
        options.append(QStringLiteral("connect_timeout=%1").arg(connectTimeout));
    for (const auto &[name, value] : defaultParameters) {
        if (!address.hasParameter(QLatin1String(name)))
            options.append(QStringLiteral("%1=%2").arg(QLatin1String(name), QLatin1String(value)));
    }
    QString session = QLatin1String(sessionOptions) + u' ' + sessionTimeouts(timeout);
    for (const auto &[name, value] : address.parameters) {
        if (name == QLatin1String("options"))
            session += u' ' + value; // later settings win
        else
            options.append(name + u'=' + quotedValue(value));
    }
    options.append(QStringLiteral("options=") + quotedValue(session));
    bool onePort = false;
    address.ports.toInt(&onePort);
    if (!address.ports.isEmpty() && !onePort)
        options.append(QStringLiteral("port=") + quotedValue(address.ports));
    return options.join(u';');
}

using StoreSchema::quoted;

QString fields()
{
    using namespace StoreSchema;
    return QStringList{quoted(nameField), quoted(phoneField), quoted(noteField),
                       quoted(rowNumberField)}
        .join(QStringLiteral(", "));
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
    using namespace ServerSchema;
    static const Statements made = [] {
        const QString select = right("SELECT");
        Statements s;
        s.count = {ServerSchema::countStatement(), right("SELECT", countTable)};
        s.firstEntry = {
            QStringLiteral("SELECT %1 FROM %2 ORDER BY %1 LIMIT 1").arg(keyColumn, table), select};
        // The index on (folded_name, id) holds equal names in the order they
        // were added: the first is its first entry.
        s.nameQuery = {
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4 ORDER BY %1 LIMIT 1")
                .arg(keyColumn, table, foldedNameColumn, foldedNameExpression(QStringLiteral("?"))),
            select};
        s.read = {QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
                      .arg(quoted(StoreSchema::phoneField), quoted(StoreSchema::noteField), table,
                           keyColumn),
                  select};
        // An add whose key is stored already does nothing, so that an add
        // sent again after a lost answer is stored once.
        s.insert
            = {QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?, ?, ?, ?) ON CONFLICT (%3) "
                              "DO NOTHING")
                   .arg(table, fields(), clientKeyColumn),
               right("INSERT")};
        s.entries
            = {QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(fields(), table, keyColumn),
               select};
        for (const bool byDigits : {false, true})
            s.candidates[byDigits]
                = {QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
                       .arg(quoted(StoreSchema::nameField), quoted(StoreSchema::phoneField), table,
                            byDigits ? phoneDigitsColumn : foldedNameColumn),
                   select};
        // The server keeps both columns computed in the table; their "C"
        // collation orders them by code point, as the range's end is made.
        for (const bool number : {false, true}) {
            const QString &column = number ? phoneDigitsColumn : foldedNameColumn;
            for (const bool start : {false, true}) {
                const QString condition = start ? QStringLiteral("%1 >= ? AND %1 < ?").arg(column)
                                                : QStringLiteral("strpos(%1, ?) > 0").arg(column);
                s.parts[number][start] = {QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4")
                                              .arg(fields(), table, condition, keyColumn),
                                          select};
            }
        }
        // The copy is a temporary table of the list's own session, its
        // positions following those already copied.
        s.list
            = {table,
               keyColumn,
               QStringLiteral("pg_temp.entries"),
               QStringLiteral("pos"),
               QStringLiteral("CREATE TEMP TABLE entries (pos bigint PRIMARY KEY, src bigint, "
                              "%1 text, %2 text, %3 text, %4 double precision)")
                   .arg(quoted(StoreSchema::nameField), quoted(StoreSchema::phoneField),
                        quoted(StoreSchema::noteField), quoted(StoreSchema::rowNumberField)),
               QStringLiteral("INSERT INTO pg_temp.entries SELECT coalesce((SELECT max(pos) FROM "
                              "pg_temp.entries), 0) + row_number() OVER (ORDER BY %1), %1, %2 "
                              "FROM (SELECT %1, %2 FROM %3 WHERE %1 >= ? ORDER BY %1 LIMIT ?) "
                              "chunk")
                   .arg(keyColumn, fields(), table)};
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

PostgresEngine::PostgresEngine(const QString &url, std::chrono::milliseconds timeout)
    : m_name(QStringLiteral("dialvault-server-%1").arg(++connectionCounter))
    , m_address(ServerAddress::parse(url))
    , m_timeout(timeout)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
}

PostgresEngine::~PostgresEngine()
{
    m_watch.forget();
    std::map<QString, QSqlQuery> stale = takeStatements();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void PostgresEngine::replaceDriver()
{
    // Qt's driver deallocates each prepared statement as it ends, a round
    // trip each, which on a connection that broke fails with a warning on
    // stderr; without a driver it sends nothing. A new connection is a new
    // session without them anyway.
    std::map<QString, QSqlQuery> stale = takeStatements();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
    stale.clear();
    m_name = QStringLiteral("dialvault-server-%1").arg(++connectionCounter);
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
}

Status PostgresEngine::connect()
{
    close();
    if (!m_address.ok())
        return m_address;
    if (!m_db.isValid())
        return serverFailure(FailureCause::Other,
                             QStringLiteral("Qt's PostgreSQL driver (QPSQL) is not installed"));
    int connectTimeout = connectSeconds;
    if (!deadline().isForever()) {
        // libpq waits at least 2 seconds, whatever it is given.
        const qint64 left = deadline().remainingTime();
        if (left < 1000)
            return timedOut();
        connectTimeout = int(std::clamp<qint64>((left + 999) / 1000, 2, connectSeconds));
    }
    const ServerAddress &where = m_address.value;
    m_db.setHostName(where.hosts);
    bool onePort = false;
    const int port = where.ports.toInt(&onePort);
    m_db.setPort(onePort ? port : -1);
    m_db.setDatabaseName(where.database);
    m_db.setUserName(where.user);
    m_db.setPassword(where.password);
    m_db.setConnectOptions(connectOptions(where, m_timeout, connectTimeout));
    if (!m_db.open()) {
        StoreError error = serverError(m_db.lastError());
        if (error.cause == FailureCause::PermissionDenied)
            error.missingRight = QStringLiteral("CONNECT ON DATABASE %1").arg(where.database);
        m_db.close();
        return {error};
    }
    connectionMade();
    m_watch.watch(connection());
    // The time spent connecting is not the first statement's.
    if (watching())
        m_watch.arm(watchDeadline());
    return readBackend();
}

Status PostgresEngine::open()
{
    // A connection that works is kept: making one costs a round trip or more.
    if (isOpen())
        return {};
    if (Status status = connect(); !status.ok())
        return status;
    return checkPhoneBook();
}

Status PostgresEngine::openForReading()
{
    return connect();
}

// One look at the catalogue, so that a server without the phone book says
// so at once instead of at the first statement. Tables that are there in a
// schema of the search path that the person may not use are a missing right.
Status PostgresEngine::checkPhoneBook()
{
    using namespace ServerSchema;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral(
                "SELECT to_regclass('%1') IS NOT NULL AND to_regclass('%2') IS NOT NULL, "
                "to_regprocedure('%3(bigint[])') IS NOT NULL, "
                "(SELECT n.nspname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                "WHERE c.relname = '%1' AND NOT has_schema_privilege(n.oid, 'USAGE') AND n.nspname "
                "= ANY (SELECT replace(replace(trim(both ' \"' FROM p), '$user', current_user), "
                "'\"\"', '\"') FROM unnest(string_to_array(current_setting('search_path'), ',')) "
                "p) LIMIT 1)")
                .arg(table, countTable, importLockFunction))
        || !query.next())
        return failure(query.lastError());
    const bool prepared = query.value(0).toBool();
    m_locksImportKeys = query.value(1).toBool();
    const QString forbidden = query.value(2).toString();
    query.finish();
    if (prepared)
        return {};
    if (!forbidden.isEmpty()) {
        Status refused
            = serverFailure(FailureCause::PermissionDenied,
                            QStringLiteral("permission denied for schema %1").arg(forbidden));
        refused.error.missingRight = QStringLiteral("USAGE ON SCHEMA %1").arg(forbidden);
        return refused;
    }
    return serverFailure(FailureCause::ServerNotPrepared,
                         QStringLiteral("no table %1 with its count on the server").arg(table));
}

void PostgresEngine::close()
{
    m_watch.forget();
    m_backend = {};
    replaceDriver();
}

bool PostgresEngine::isOpen() const
{
    return m_db.isOpen();
}

const QSqlDatabase &PostgresEngine::database() const
{
    return m_db;
}

pg_conn *PostgresEngine::connection() const
{
    if (!m_db.isOpen())
        return nullptr;
    // Qt names the type as the compiler spells it: "pg_conn*", or "PGconn*".
    const QVariant handle = m_db.driver()->handle();
    if (!handle.isValid()
        || (std::strcmp(handle.typeName(), "pg_conn*") != 0
            && std::strcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

Status PostgresEngine::failure(const QSqlError &error, const QString &right)
{
    return settled({serverError(error, right)});
}

Status PostgresEngine::failure(const pg_result *result, const QString &right)
{
    PGconn *const connected = connection();
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char *text = result ? PQresultErrorMessage(result)
        : connected           ? PQerrorMessage(connected)
                              : "";
    return settled({serverError(QString::fromUtf8(state ? state : ""),
                                QString::fromUtf8(text ? text : ""), right)});
}

Status PostgresEngine::settled(Status status)
{
    PGconn *const connected = connection();
    const bool broken = status.error.connectionLost || !m_db.isOpen()
        || (connected && PQstatus(connected) == CONNECTION_BAD);
    if (watching() && m_watch.fired()) {
        // The watch ended the wait. When the server answered the cancel,
        // what was sent is known to have failed; when the connection was
        // cut, a change may still be stored. Either way the connection
        // goes, so that a cancel still on its way finds nothing of ours.
        if (broken) {
            status.error.cause = FailureCause::ServerBusy;
            status.error.connectionLost = true;
            status.error.description
                = QStringLiteral("no answer from the server within %1 ms: the connection was cut")
                      .arg(m_timeout.count());
        }
        closeBroken();
        return status;
    }
    if (broken) {
        if (status.error.cause != FailureCause::ServerEndedSession)
            status.error.cause = FailureCause::ServerUnreachable;
        status.error.connectionLost = true;
        closeBroken();
    }
    return status;
}

void PostgresEngine::closeBroken()
{
    // Its statements stay until the next connection: a caller may still be
    // holding one.
    m_lostBackend = m_backend;
    m_backend = {};
    m_watch.forget();
    m_db.close();
}

bool PostgresEngine::connectionBroke(const Status &failure) const
{
    return failure.error.connectionLost;
}

Status PostgresEngine::closedFailure()
{
    Status closed{serverError(QSqlError())};
    closed.error.connectionLost = true;
    return closed;
}

Status PostgresEngine::timedOut() const
{
    return serverFailure(FailureCause::ServerBusy,
                         QStringLiteral("no answer from the server in the time set"));
}

StatementWatch::Clock::time_point PostgresEngine::watchDeadline() const
{
    const StatementWatch::Clock::time_point now = StatementWatch::Clock::now();
    std::chrono::milliseconds wait = m_timeout;
    if (!deadline().isForever())
        wait = std::min(wait, std::chrono::milliseconds(deadline().remainingTime()));
    return now + wait + watchMargin(m_timeout);
}

void PostgresEngine::startWatch()
{
    m_watch.arm(watchDeadline());
}

void PostgresEngine::endWatch()
{
    m_watch.disarm();
    // A statement that ended just as the watch cancelled it: the cancel may
    // still reach the server, so the connection is not used again.
    if (m_watch.fired() && isOpen())
        closeBroken();
}

void PostgresEngine::renewWatch()
{
    if (watching())
        m_watch.renew(watchDeadline());
}

Status PostgresEngine::beforeStatement()
{
    if (!watching())
        return {};
    if (m_watch.fired()) {
        closeBroken();
        return timedOut();
    }
    if (deadline().hasExpired())
        return timedOut();
    m_watch.renew(watchDeadline());
    return {};
}

Status PostgresEngine::prepareForChanges()
{
    return {}; // every session is opened with synchronous_commit on
}

Status PostgresEngine::begin(Transaction kind)
{
    // Repeatable read holds the view of one moment without keeping anybody
    // from writing; an import's writes take locks on the keys they add
    // (ServerImport), so that imports of different people run side by side.
    return run(kind == Transaction::Snapshot
                   ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ")
                   : QStringLiteral("BEGIN"));
}

std::unique_ptr<BatchImport> PostgresEngine::batchImport()
{
    return std::make_unique<ServerImport>(*this);
}

Status PostgresEngine::readBackend()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("SELECT pg_backend_pid(), (extract(epoch FROM backend_start) "
                                   "* 1000000)::bigint FROM pg_stat_activity "
                                   "WHERE pid = pg_backend_pid()"))
        || !query.next())
        return failure(query.lastError());
    m_backend = {query.value(0).toLongLong(), query.value(1).toLongLong()};
    return {};
}

Result<bool> PostgresEngine::lostCommitStored(const QString &key)
{
    const Backend previous = m_lostBackend;
    if (Status opened = open(); !opened.ok())
        return failed<bool>(opened.error);
    // pg_terminate_backend waits up to 5 seconds for the process to end; a
    // process that ended meanwhile is no longer listed.
    const EngineSql end{QStringLiteral("SELECT pg_terminate_backend(pid, 5000) FROM "
                                       "pg_stat_activity WHERE pid = ? AND (extract(epoch FROM "
                                       "backend_start) * 1000000)::bigint = ?")};
    for (int attempt = 0;; ++attempt) {
        Status status;
        QSqlQuery *ending = statement(end, status);
        if (!ending)
            return failed<bool>(status.error);
        ending->bindValue(0, previous.pid);
        ending->bindValue(1, previous.startedUs);
        if (!ending->exec())
            return failed<bool>(failure(ending->lastError()).error);
        const bool ended = !ending->next() || ending->value(0).toBool();
        ending->finish();
        if (ended)
            break;
        if (attempt == 1)
            return failed<bool>(serverFailure(FailureCause::OutcomeUnknown,
                                              QStringLiteral("the server process of the lost "
                                                             "connection (pid %1) does not end")
                                                  .arg(previous.pid))
                                    .error);
    }
    const EngineSql stored{QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 WHERE %2 = ?)")
                               .arg(ServerSchema::table, ServerSchema::clientKeyColumn),
                           ServerSchema::right("SELECT")};
    Status status;
    QSqlQuery *found = statement(stored, status);
    if (!found)
        return failed<bool>(status.error);
    found->bindValue(0, key);
    if (!found->exec() || !found->next())
        return failed<bool>(failure(found->lastError(), stored.right).error);
    Result<bool> result;
    result.value = found->value(0).toBool();
    found->finish();
    return result;
}

Result<qint64> PostgresEngine::keyOfAdd(const QString &clientKey)
{
    const EngineSql sql{
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
            .arg(ServerSchema::keyColumn, ServerSchema::table, ServerSchema::clientKeyColumn),
        ServerSchema::right("SELECT")};
    Result<qint64> result;
    QSqlQuery *found = statement(sql, result);
    if (!found)
        return result;
    found->bindValue(0, clientKey);
    if (!found->exec()) {
        result.error = failure(found->lastError(), sql.right).error;
        return result;
    }
    result.value = found->next() ? found->value(0).toLongLong() : 0;
    found->finish();
    return result;
}

const EngineSql &PostgresEngine::countStatement() const
{
    return statements().count;
}

const EngineSql &PostgresEngine::firstEntryStatement() const
{
    return statements().firstEntry;
}

const EngineSql &PostgresEngine::nameQueryStatement() const
{
    return statements().nameQuery;
}

const EngineSql &PostgresEngine::readStatement() const
{
    return statements().read;
}

const EngineSql &PostgresEngine::insertStatement() const
{
    return statements().insert;
}

const EngineSql &PostgresEngine::entriesStatement() const
{
    return statements().entries;
}

const EngineSql &PostgresEngine::candidatesStatement(bool byDigits) const
{
    return statements().candidates[byDigits];
}

const EngineSql &PostgresEngine::partSearchStatement(bool number, PartPlace place) const
{
    return statements().parts[number][place == PartPlace::Start];
}

const ListSql &PostgresEngine::listSql() const
{
    return statements().list;
}

// The identity column is the key, and the count is kept in rows that
// triggers update.
Result<KeyExtent> PostgresEngine::listExtent()
{
    using namespace ServerSchema;
    const auto prepared = scalar(QStringLiteral("SELECT to_regclass('%1') IS NOT NULL AND "
                                                "to_regclass('%2') IS NOT NULL")
                                     .arg(table, countTable));
    if (!prepared.ok())
        return failed<KeyExtent>(prepared.error);
    if (!prepared.value.toBool())
        return failed<KeyExtent>(
            serverFailure(FailureCause::ServerNotPrepared,
                          QStringLiteral("no table %1 with its count").arg(table))
                .error);
    const auto present = scalar(QStringLiteral("SELECT string_agg(attname, chr(10)) FROM "
                                               "pg_attribute WHERE attrelid = '%1'::regclass AND "
                                               "attnum > 0 AND NOT attisdropped")
                                    .arg(table));
    if (!present.ok())
        return failed<KeyExtent>(present.error);
    const QStringList columns = present.value.toString().split(QLatin1Char('\n'));
    for (const QString &field : {StoreSchema::nameField, StoreSchema::phoneField,
                                 StoreSchema::noteField, StoreSchema::rowNumberField}) {
        if (!columns.contains(field))
            return failed<KeyExtent>(serverFailure(FailureCause::MissingField,
                                                   QStringLiteral("no such column: %1").arg(field))
                                         .error);
    }
    QSqlQuery range(m_db);
    range.setForwardOnly(true);
    if (!range.exec(QStringLiteral("SELECT (%1), (SELECT min(%2) FROM %3), (SELECT max(%2) FROM "
                                   "%3)")
                        .arg(ServerSchema::countStatement(), keyColumn, table))
        || !range.next())
        return failed<KeyExtent>(failure(range.lastError()).error);
    Result<KeyExtent> result;
    if (!range.value(1).isNull()) {
        result.value.count = std::max<qint64>(0, range.value(0).toLongLong());
        result.value.first = range.value(1).toLongLong();
        result.value.last = range.value(2).toLongLong();
    }
    return result;
}

const LinkSql &PostgresEngine::linkSql() const
{
    return serverLinkSql();
}

const DeletedSql &PostgresEngine::deletedSql() const
{
    return serverDeletedSql();
}

} // namespace dialvault
