#include "store/serverlink.h"

#include "store/serverschema.h"
#include "store/storefailure.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <atomic>

namespace dialvault {

namespace {

std::atomic<quint64> linkCounter{0};

// libpq's parameters that keep a connection from hanging: how long to wait
// for the server to answer at all, and how long a connection that stopped
// answering is kept. A person's own values in the URL win.
const std::pair<const char *, const char *> defaultParameters[]{
    {"connect_timeout", "4"},          {"keepalives", "1"},       {"keepalives_idle", "5"},
    {"keepalives_interval", "2"},      {"keepalives_count", "3"}, {"tcp_user_timeout", "10000"},
    {"application_name", "dialvault"},
};

// Settings of every session, sent with the connection itself: no statement
// or lock waits for ever, an abandoned transaction ends, a commit is on disk
// before it is confirmed, whatever the server's own default, and the
// server's notices are not printed (its failures come back as such).
const char sessionOptions[] = "-c statement_timeout=30000 -c lock_timeout=10000 "
                              "-c idle_in_transaction_session_timeout=60000 "
                              "-c synchronous_commit=on -c client_min_messages=error";

QString quotedValue(const QString &value)
{
    QString quoted = value;
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + quoted + u'\'';
}

QString connectOptions(const ServerAddress &address)
{
    QStringList options;
    for (const auto &[name, value] : defaultParameters) {
        if (!address.hasParameter(QLatin1String(name)))
            options.append(QStringLiteral("%1=%2").arg(QLatin1String(name), QLatin1String(value)));
    }
    QString session = QLatin1String(sessionOptions);
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

// The cause of a failure that came with no SQLSTATE: libpq's own, or the
// server's refusal of the connection, told apart by libpq's text.
FailureCause causeOfText(const QString &text)
{
    if (text.contains(QLatin1String("authentication failed"))
        || text.contains(QLatin1String("no password supplied"))
        || text.contains(QLatin1String("pg_hba.conf"))
        || (text.contains(QLatin1String("role \""))
            && text.contains(QLatin1String("does not exist"))))
        return FailureCause::LoginRefused;
    if (text.contains(QLatin1String("database \""))
        && text.contains(QLatin1String("does not exist")))
        return FailureCause::ServerNotPrepared;
    if (text.contains(QLatin1String("permission denied for database")))
        return FailureCause::PermissionDenied; // the right is named by ServerLink::open()
    if (text.contains(QLatin1String("too many clients")))
        return FailureCause::ServerBusy;
    return FailureCause::ServerUnreachable;
}

FailureCause causeOfState(const QString &state)
{
    static const QStringList lost{"57P01", "57P02", "57P03"};
    static const QStringList notPrepared{"42P01", "42703", "3D000", "42883"};
    static const QStringList busy{"57014", "55P03", "53300", "40001", "40P01"};
    if (state.startsWith(QLatin1String("08")) || lost.contains(state))
        return FailureCause::ServerUnreachable;
    if (state.startsWith(QLatin1String("28")))
        return FailureCause::LoginRefused;
    if (state == QLatin1String("42501"))
        return FailureCause::PermissionDenied;
    if (notPrepared.contains(state))
        return FailureCause::ServerNotPrepared;
    if (busy.contains(state))
        return FailureCause::ServerBusy;
    if (state == QLatin1String("53100"))
        return FailureCause::DiskFull;
    return FailureCause::Other;
}

Status failed(FailureCause cause, const QString &description)
{
    return {{ServerCallFailed, description, cause}};
}

} // namespace

StoreError serverError(const QSqlError &error, const QString &right)
{
    const QString state = error.nativeErrorCode();
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    // The first line says it; libpq's LINE and caret lines that follow do not.
    QString said = text.section(u'\n', 0, 0).simplified();
    if (said.isEmpty())
        said = QStringLiteral("the connection to the server is closed");
    StoreError result{ServerCallFailed,
                      state.isEmpty() ? said : state + QStringLiteral(": ") + said};
    result.cause = state.isEmpty() ? causeOfText(text) : causeOfState(state);
    if (result.cause == FailureCause::PermissionDenied)
        result.missingRight = right;
    return result;
}

Status outcomeUnknown(const Status &lost)
{
    return failed(FailureCause::OutcomeUnknown, lost.error.description);
}

ServerLink::ServerLink(const QString &url)
    : name(QStringLiteral("dialvault-server-%1").arg(++linkCounter))
    , address(ServerAddress::parse(url))
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
}

ServerLink::~ServerLink()
{
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

QString ServerLink::shownName() const
{
    return address.ok() ? address.value.shown() : QStringLiteral("postgresql://…");
}

Status ServerLink::open()
{
    close();
    if (!address.ok())
        return address;
    if (!db.isValid())
        return failed(FailureCause::Other,
                      QStringLiteral("Qt's PostgreSQL driver (QPSQL) is not installed"));
    const ServerAddress &where = address.value;
    db.setHostName(where.hosts);
    bool onePort = false;
    const int port = where.ports.toInt(&onePort);
    db.setPort(onePort ? port : -1);
    db.setDatabaseName(where.database);
    db.setUserName(where.user);
    db.setPassword(where.password);
    db.setConnectOptions(connectOptions(where));
    if (!db.open()) {
        StoreError error = serverError(db.lastError());
        if (error.cause == FailureCause::PermissionDenied)
            error.missingRight = QStringLiteral("CONNECT ON DATABASE %1").arg(where.database);
        db.close();
        return {error};
    }
    ++connections;
    return readBackend();
}

void ServerLink::close()
{
    db.close();
    served = {};
}

bool ServerLink::isOpen() const
{
    return db.isOpen();
}

Status ServerLink::failure(const QSqlError &error, const QString &right)
{
    Status status{serverError(error, right)};
    if (status.error.cause == FailureCause::ServerUnreachable || !db.isOpen()) {
        status.error.cause = FailureCause::ServerUnreachable;
        close();
    }
    return status;
}

Status ServerLink::readBackend()
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT pg_backend_pid(), (extract(epoch FROM backend_start) "
                                   "* 1000000)::bigint FROM pg_stat_activity "
                                   "WHERE pid = pg_backend_pid()"))
        || !query.next())
        return failure(query.lastError());
    served = {query.value(0).toLongLong(), query.value(1).toLongLong()};
    return {};
}

Result<bool> ServerLink::look(const ServerBackend &previous, const QString &key)
{
    Result<bool> result;
    // pg_terminate_backend waits up to 5 seconds for the process to end; a
    // process that ended meanwhile is no longer listed.
    QSqlQuery end(db);
    end.prepare(QStringLiteral("SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity "
                               "WHERE pid = ? AND (extract(epoch FROM backend_start) * 1000000)"
                               "::bigint = ?"));
    for (int attempt = 0;; ++attempt) {
        end.bindValue(0, previous.pid);
        end.bindValue(1, previous.startedUs);
        if (!end.exec()) {
            result.error = failure(end.lastError()).error;
            return result;
        }
        if (!end.next() || end.value(0).toBool())
            break;
        if (attempt == 1) {
            result.error = failed(FailureCause::OutcomeUnknown,
                                  QStringLiteral("the server process of the lost connection (pid "
                                                 "%1) does not end")
                                      .arg(previous.pid))
                               .error;
            return result;
        }
    }
    QSqlQuery found(db);
    found.prepare(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 WHERE %2 = ?)")
                      .arg(ServerSchema::table, ServerSchema::clientKeyColumn));
    found.bindValue(0, key);
    if (!found.exec() || !found.next()) {
        result.error = failure(found.lastError(), ServerSchema::right("SELECT")).error;
        return result;
    }
    result.value = found.value(0).toBool();
    return result;
}

} // namespace dialvault
