#include "place/databasecopy.h"

#include "store/durablefiles.h"
#include "store/sqliteconnection.h"
#include "store/storefailure.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <sqlite3.h>

#include <thread>

namespace dialvault {

namespace {

Status sqliteFailure(int code, const QString &text)
{
    return {{code, text, sqliteCause(code)}};
}

Status sqliteFailure(sqlite3 *db, int code)
{
    return sqliteFailure(
        code, db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code)));
}

// Runs a backup to its end. A lock held past the busy timeout is waited out
// a few times more before the copy gives up.
Status runBackup(sqlite3 *source, sqlite3 *target, const CopyPacing &pacing)
{
    sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main");
    if (!backup)
        return sqliteFailure(target, sqlite3_extended_errcode(target));
    int code = SQLITE_OK;
    int busyRounds = 0;
    for (;;) {
        if (pacing.stop && pacing.stop->load()) {
            sqlite3_backup_finish(backup);
            return {
                {SQLITE_INTERRUPT, QStringLiteral("the copy was stopped"), FailureCause::Other}};
        }
        code = sqlite3_backup_step(backup, pacing.pagesPerStep);
        if (code == SQLITE_DONE)
            break;
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
            if (++busyRounds > 5)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        if (code != SQLITE_OK)
            break;
        if (pacing.pause.count() > 0)
            std::this_thread::sleep_for(pacing.pause);
    }
    sqlite3_backup_finish(backup);
    if (code == SQLITE_DONE)
        return {};
    // The step's failure is the source's (not a database, damaged) or the
    // target's (disk full, read-only); whichever connection has it tells.
    const int sourceCode = sqlite3_extended_errcode(source);
    if (sourceCode != SQLITE_OK && (sourceCode & 0xFF) == (code & 0xFF))
        return sqliteFailure(source, sourceCode);
    return sqliteFailure(code, QString::fromUtf8(sqlite3_errstr(code)));
}

} // namespace

Status copyDatabase(const QString &from, const QString &to, const CopyPacing &pacing)
{
    Status status;
    {
        // Read through a connection that may write, as only such a one rolls
        // back what a program that crashed left half-written.
        SqliteConnection source;
        status = source.open(from, SqliteUse::Writing);
        if (!status.ok())
            return status;
        // The new file is nobody else's until it is whole.
        SqliteConnection target;
        status = target.open(to, SqliteUse::Building);
        if (status.ok())
            status = runBackup(source.handle(), target.handle(), pacing);
    }
    if (status.ok())
        status = syncFile(to);
    if (!status.ok())
        QFile::remove(to);
    return status;
}

Status checkRoom(const QString &file, const QString &folder)
{
    const qint64 size = QFileInfo(file).size();
    const qint64 free = QStorageInfo(folder).bytesAvailable();
    // A size the system does not tell is no reason to refuse.
    if (free < 0 || size <= free)
        return {};
    return {{SQLITE_FULL,
             QStringLiteral("%1 holds %2 bytes, but %3 has %4 bytes free")
                 .arg(file)
                 .arg(size)
                 .arg(folder)
                 .arg(free),
             FailureCause::DiskFull}};
}

Status copyDatabaseInto(const QString &from, const QString &to)
{
    SqliteConnection source;
    if (Status opened = source.open(from, SqliteUse::Reading); !opened.ok())
        return opened;
    SqliteConnection target;
    if (Status opened = target.open(to, SqliteUse::Writing); !opened.ok())
        return opened;
    if (Status durable = target.makeDurable(); !durable.ok())
        return durable;
    return runBackup(source.handle(), target.handle(), {});
}

} // namespace dialvault
