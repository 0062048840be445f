#pragma once

#include <QString>

#include <chrono>

namespace dialvault {

// How long the program waits on a server for one statement, unless told
// otherwise (the setting "server timeout", the command line's --timeout).
inline constexpr std::chrono::milliseconds defaultServerTimeout{15000};

// Where a phone book is kept: db1.mdb on disk, or table `test` on a
// PostgreSQL server named by a libpq URL
// (postgresql://user@host:port/dbname?sslmode=require).
class PhoneBookSource
{
public:
    PhoneBookSource() = default;

    // db1.mdb in `folder`.
    static PhoneBookSource inFolder(const QString &folder);
    // The phone book file at `path`.
    static PhoneBookSource file(const QString &path);
    // The server at `url`.
    static PhoneBookSource server(const QString &url);
    // The same phone book, a server waited on at most `timeout` per
    // statement (a file does not wait on a server).
    PhoneBookSource withTimeout(std::chrono::milliseconds timeout) const;

    // Whether the phone book is on a server rather than in a file.
    bool isServer() const { return m_server; }
    // The file; empty for a server.
    const QString &databasePath() const { return m_path; }
    // The URL as given, a password in it included: for connecting only,
    // never to be shown or stored.
    const QString &serverUrl() const { return m_url; }
    // What a person is shown: the file's path, or the server as
    // user@host:port/dbname, never with a password.
    QString shownName() const;
    std::chrono::milliseconds timeout() const { return m_timeout; }

    bool operator==(const PhoneBookSource &other) const = default;

private:
    bool m_server = false;
    QString m_path;
    QString m_url;
    std::chrono::milliseconds m_timeout = defaultServerTimeout;
};

} // namespace dialvault
