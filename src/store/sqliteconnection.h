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
};

// One SQLite connection of the program. Every one is opened here, with the
// settings of its use, through Qt's driver; handle() reaches SQLite itself
// for what the driver does not offer.
class SqliteConnection
{
public:
    SqliteConnection();
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;

    // Opens the file at `path`, closing any earlier connection first.
    Status open(const QString &path, SqliteUse use);
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
    Status applySettings(SqliteUse use);
    Status run(const char *settings);

    QString m_name;
    QSqlDatabase m_db;
    bool m_durable = false;
};

} // namespace dialvault
