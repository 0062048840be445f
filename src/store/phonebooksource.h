#pragma once

#include <QString>

namespace dialvault {

// The engines a phone book can be kept on.
enum class Engine { Sqlite, Postgres };

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

    Engine engine() const { return engine_; }
    bool isServer() const { return engine_ == Engine::Postgres; }
    // The file; empty for a server.
    const QString &databasePath() const { return path_; }
    // The URL as given, a password in it included: for connecting only,
    // never to be shown or stored.
    const QString &serverUrl() const { return url_; }
    // What a person is shown: the file's path, or the server as
    // user@host:port/dbname, never with a password.
    QString shownName() const;

    bool operator==(const PhoneBookSource &other) const = default;

private:
    Engine engine_ = Engine::Sqlite;
    QString path_;
    QString url_;
};

} // namespace dialvault
