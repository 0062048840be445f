#include "place/databasecopy.h"

#include "jet/durablefiles.h"
#include "store/storeconnection.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QFile>
#include <QSet>

#include <sqlite3.h>

#include <memory>
#include <thread>

namespace dialvault {

namespace {

struct CloseDatabase
{
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

Status sqliteFailure(int code, const QString &text)
{
    return {{code, text, sqliteCause(code)}};
}

Status sqliteFailure(sqlite3 *db, int code)
{
    return sqliteFailure(
        code, db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code)));
}

// Opens an existing file (or, with SQLITE_OPEN_CREATE in `flags`, a new one),
// waiting as long as the store does for another program's lock.
Result<Database> open(const QString &path, int flags)
{
    Result<Database> result;
    sqlite3 *db = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                     flags | SQLITE_OPEN_NOMUTEX, nullptr);
    result.value.reset(db);
    if (code != SQLITE_OK) {
        result.error = sqliteFailure(db, sqlite3_extended_errcode(db)).error;
        return result;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    return result;
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
        const Result<Database> source = open(from, SQLITE_OPEN_READWRITE);
        if (!source.ok())
            return source;
        Result<Database> target = open(to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (!target.ok()) {
            QFile::remove(to);
            return target;
        }
        // The new file is nobody else's until it is whole: it needs no
        // journal, and one flush once it is whole makes it durable.
        sqlite3_exec(target.value.get(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr,
                     nullptr, nullptr);
        status = runBackup(source.value.get(), target.value.get(), pacing);
    }
    if (status.ok())
        status = syncFile(to);
    if (!status.ok())
        QFile::remove(to);
    return status;
}

Status copyDatabaseInto(const QString &from, const QString &to)
{
    const Result<Database> source = open(from, SQLITE_OPEN_READONLY);
    if (!source.ok())
        return source;
    const Result<Database> target = open(to, SQLITE_OPEN_READWRITE);
    if (!target.ok())
        return target;
    sqlite3_exec(target.value.get(), "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    return runBackup(source.value.get(), target.value.get(), {});
}

Status checkPhoneBook(const QString &path)
{
    const Result<Database> opened = open(path, SQLITE_OPEN_READONLY);
    if (!opened.ok())
        return opened;
    sqlite3 *db = opened.value.get();

    sqlite3_stmt *statement = nullptr;
    int code = sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
    if (code != SQLITE_OK)
        return sqliteFailure(db, sqlite3_extended_errcode(db));
    code = sqlite3_step(statement);
    const QString verdict = code == SQLITE_ROW
        ? QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)))
        : QString();
    sqlite3_finalize(statement);
    if (code != SQLITE_ROW) {
        const int failure = sqlite3_extended_errcode(db);
        return sqliteFailure(db, failure == SQLITE_OK ? code : failure);
    }
    if (verdict != QLatin1String("ok"))
        return {{SQLITE_CORRUPT, verdict, FailureCause::Damaged}};

    using namespace StoreSchema;
    code
        = sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?1)", -1, &statement, nullptr);
    if (code != SQLITE_OK)
        return sqliteFailure(db, sqlite3_extended_errcode(db));
    const QByteArray tableName = table.toUtf8();
    sqlite3_bind_text(statement, 1, tableName.constData(), int(tableName.size()), SQLITE_TRANSIENT);
    QSet<QString> fields;
    while (sqlite3_step(statement) == SQLITE_ROW)
        fields.insert(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
    sqlite3_finalize(statement);
    if (fields.isEmpty())
        return {{1, QStringLiteral("no such table: %1").arg(table), FailureCause::NoTable}};
    for (const QString &field : {nameField, phoneField, noteField, rowNumberField}) {
        if (!fields.contains(field))
            return {{1, QStringLiteral("table %1 has no field %2").arg(table, field),
                     FailureCause::MissingField}};
    }
    return {};
}

} // namespace dialvault
