#pragma once

#include <QString>

namespace dialvault {

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

    bool operator==(const PhoneBookSource &other) const = default;

private:
    bool m_server = false;
    QString m_path;
    QString m_url;
};

} // namespace dialvault
