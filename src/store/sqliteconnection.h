#pragma once

#include "store/storeerror.h"

#include <QSqlDatabase>
#include <QString>

struct sqlite3;

namespace dialvault {

// How long a connection waits for another one's lock before failing, so that
// two programs adding at the same moment both succeed.
inline constexpr int busyTimeoutMs = 5000;

// What a SQLite connection is opened for; each use has its settings.
enum class SqliteUse {
    // A phone book that other programs may use at the same time, read and
    // written: an existing file only, and once makeDurable() ran, every
    // change on the disk before it is reported.
    Writing,
    // An existing file, only read. Temporary tables go to the disk rather
    // than grow in memory, and the cache is small: the list streams a copy
    // and finds a page in a few steps.
    Reading,
    // A new file that nobody else uses until it is whole (it is then renamed
    // into place): no journal, on the disk at each commit. Made when missing.
    Building,
    // A file from elsewhere (a backup to restore, a copy to check), only
    // read, as it lies: immutable, so that nothing is written beside it (no
    // journal rolled back, no -wal folded in and removed). Settings as for
    // Reading.
    Inspecting,
};

// One SQLite connection of the program. Every one is opened here, with the
// settings of its use, through Qt's driver; handle() reaches SQLite itself
// for what the driver does not offer. A phone book may come from anyone, so
// every connection distrusts the file's schema (trusted_schema off: its
// triggers, views and expressions call only harmless functions) and is
// defensive (nothing can write the schema table or corrupt the file on
// purpose).
class SqliteConnection
{
public:
    SqliteConnection();
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;

    // Opens the file at `path`, closing any earlier connection first.
    Status open(const QString &path, SqliteUse use);
    // Opens a private database in memory, for the program's own scratch work.
    Status openInMemory();
    // Attaches the existing file at `path` as schema `name`, opened for
    // `use` (Reading or Inspecting).
    Status attach(const QString &path, const QString &name, SqliteUse use);
    // Before the first change on a connection for Writing: every change is
    // on the disk before it is reported, whatever the library's default. Not
    // at opening, which the main window's refresh does again and again to
    // read.
    Status makeDurable();
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    const QSqlDatabase &database() const { return m_db; }
    // SQLite's own handle of the open connection; null when it is closed.
    sqlite3 *handle() const;

private:
    Status distrustSchema();
    Status applySettings(SqliteUse use);
    Status run(const char *settings);

    QString m_name;
    QSqlDatabase m_db;
    bool m_durable = false;
};

} // namespace dialvault
