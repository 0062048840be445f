#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace dialvault {

// A private PostgreSQL server that CTest starts before the tests and removes
// after them (tools/pgtest.sh): "shared" for every test, "faults" for the
// tests that kill and restart it. Its roles: postgres (superuser), clerk
// (given the office's rights on each phone book made here) and stranger
// (given none).
class TestServer
{
public:
    // The server of that name, or nothing when CTest did not start it.
    static std::optional<TestServer> find(const char *which = "shared");

    QString url(const QString &database, const QString &user = QStringLiteral("postgres")) const;
    int port() const { return m_port; }

    // The database `name` made afresh, with the phone book prepared in it
    // and the office's rights given to clerk.
    bool freshPhoneBook(const QString &name) const;
    // The phone book of `name` emptied: count, order and keys start again.
    bool empty(const QString &name) const;

    // `sql` run as postgres in `database`: the first value of its first row
    // (an invalid QVariant on failure, with a warning).
    QVariant scalar(const QString &database, const QString &sql,
                    const QVariantList &values = {}) const;
    bool exec(const QString &database, const QString &sql) const;

    // Every server process ended with SIGKILL, as a crash would; then started
    // again, on the same port.
    bool kill() const;
    bool start() const;
    // Every server process stopped (SIGSTOP), as on a machine that hangs
    // while its kernel still answers; then let go on (SIGCONT).
    bool pause() const;
    bool resume() const;
    // A standby made a primary (pg_ctl promote), waited for.
    bool promote() const;

private:
    bool script(const char *command) const;

    QString m_dir;
    int m_port = 0;
};

} // namespace dialvault
