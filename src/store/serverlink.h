#pragma once

#include "store/serveraddress.h"
#include "store/storeerror.h"

#include <QSqlDatabase>
#include <QString>

class QSqlError;

namespace dialvault {

// The server process that served a connection, so that after the connection
// broke that process can be ended and nothing it still holds can commit.
struct ServerBackend
{
    qint64 pid = 0;
    qint64 startedUs = 0; // its start, in microseconds since 1970: a pid is reused
};

// One connection to a phone book on a PostgreSQL server, through Qt's driver.
// It is opened with time-outs, so that a server that is down, unreachable or
// silent fails within seconds instead of hanging, and with every commit
// flushed to the server's disk before it is confirmed. A connection that
// breaks is closed, and opened again on the next use.
class ServerLink
{
public:
    explicit ServerLink(const QString &url);
    ~ServerLink();
    ServerLink(const ServerLink &) = delete;
    ServerLink &operator=(const ServerLink &) = delete;

    // Connects, replacing any earlier connection.
    Status open();
    void close();
    bool isOpen() const;
    QSqlDatabase &database() { return db; }
    // Counts the connections made: statements prepared on an earlier one
    // must be prepared again.
    int generation() const { return connections; }
    const ServerBackend &backend() const { return served; }
    // Where the server is, as a person is shown it.
    QString shownName() const;

    // The failure of a statement on this connection. A broken connection
    // (cause ServerUnreachable) is closed, so that the next use reconnects.
    // `right` names what the statement needs, for a permission refused.
    Status failure(const QSqlError &error, const QString &right = {});

    // After a commit whose answer was lost with the connection that served
    // it: ends that backend if it still runs, so that it cannot commit
    // later, then tells whether the entry carrying `key` is stored. Needs
    // the connection open.
    Result<bool> look(const ServerBackend &previous, const QString &key);

private:
    Status readBackend();

    QString name;
    QSqlDatabase db;
    Result<ServerAddress> address;
    ServerBackend served;
    int connections = 0;
};

// `error`, a failure that Qt's PostgreSQL driver reported, as a StoreError:
// its cause from the SQLSTATE, or from libpq's text when the server sent
// none (a failed connection); `right` for a refused permission.
StoreError serverError(const QSqlError &error, const QString &right = {});

// `lost` (a broken connection after a change was sent) as the failure of a
// change that may or may not have been committed.
Status outcomeUnknown(const Status &lost);

} // namespace dialvault
