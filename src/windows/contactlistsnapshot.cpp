#include "windows/contactlistsnapshot.h"

#include "store/serverlink.h"
#include "store/serverschema.h"
#include "store/storeconnection.h"
#include "store/storefailure.h"
#include "store/storeschema.h"
#include "windows/contactlistreader.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>

namespace dialvault {

namespace {

std::atomic<quint64> snapshotCounter{0};

// A few tenths of a millisecond of copying, so that a page asked for
// meanwhile hardly waits.
constexpr int copyChunkRows = 1024;
// The copy waits until the first screen has its rows, so as not to compete
// with painting it: it starts once no page has been asked for in a short
// while, and soon in any case, as the file is held until the copy is complete.
constexpr std::chrono::milliseconds quietBeforeCopy{20};
constexpr std::chrono::milliseconds latestCopyStart{200};
// Pages of SQLite's cache per connection: the copy streams, and a page is
// found in a few steps, so a small cache serves both.
constexpr int cacheKiB = 512;

// mode=ro opens an existing file for reading and never creates one; every
// byte of the path that is not plain ASCII is escaped for the URI.
QString readOnlyUri(const QString &path)
{
    const QByteArray encoded = QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/");
    return QStringLiteral("file:%1?mode=ro").arg(QString::fromLatin1(encoded));
}

QString shownColumns()
{
    using namespace StoreSchema;
    return QStringList{quoted(nameField), quoted(phoneField), quoted(noteField),
                       quoted(rowNumberField)}
        .join(QStringLiteral(", "));
}

// The statements that differ between a file and a server. A file's copy
// numbers its rows itself (the temporary table's rowid); a server's is given
// its positions as it is filled.
struct SnapshotSql
{
    QString begin;
    QString liveTable;
    QString liveKey;
    QString copyTable;
    QString copyKey;
    QString createCopy;
    QString copyChunk; // binds the next key (and, on a server, the rows copied so far first)
};

SnapshotSql snapshotSql(Engine engine)
{
    using namespace StoreSchema;
    if (engine == Engine::Sqlite)
        return {QStringLiteral("BEGIN"),
                QStringLiteral("main.") + table,
                QStringLiteral("rowid"),
                QStringLiteral("temp.entries"),
                QStringLiteral("rowid"),
                QStringLiteral("CREATE TEMP TABLE entries (src INTEGER, %1)").arg(shownColumns()),
                QStringLiteral("INSERT INTO temp.entries SELECT rowid, %1 FROM main.%2 WHERE "
                               "rowid >= ? ORDER BY rowid LIMIT %3")
                    .arg(shownColumns(), table)
                    .arg(copyChunkRows)};
    // Repeatable read holds the view of one moment without keeping anybody
    // from writing.
    const QString key = ServerSchema::keyColumn;
    return {
        QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ"),
        table,
        key,
        QStringLiteral("pg_temp.entries"),
        QStringLiteral("pos"),
        QStringLiteral("CREATE TEMP TABLE entries (pos bigint PRIMARY KEY, src bigint, %1 "
                       "text, %2 text, %3 text, %4 double precision)")
            .arg(quoted(nameField), quoted(phoneField), quoted(noteField), quoted(rowNumberField)),
        QStringLiteral("INSERT INTO pg_temp.entries SELECT ? + row_number() OVER (ORDER BY "
                       "%1), %1, %2 FROM (SELECT %1, %2 FROM %3 WHERE %1 >= ? ORDER BY %1 "
                       "LIMIT %4) chunk")
            .arg(key, shownColumns(), table)
            .arg(copyChunkRows)};
}

// Everything the snapshot's own thread does on its connection.
class Session
{
public:
    explicit Session(const PhoneBookSource &source)
        : engine(source.engine())
        , sql(snapshotSql(source.engine()))
    {
        if (source.isServer()) {
            server = std::make_unique<ServerLink>(source.serverUrl());
            db = server->database();
        } else {
            name = QStringLiteral("dialvault-list-%1").arg(++snapshotCounter);
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        }
    }

    ~Session()
    {
        db = QSqlDatabase();
        if (!server)
            QSqlDatabase::removeDatabase(name);
    }

    Status open(const PhoneBookSource &source)
    {
        Status status = server ? server->open() : openFile(source.databasePath());
        if (status.ok())
            status = run(sql.begin);
        if (!status.ok())
            return status;
        inTransaction = true;
        const Result<RowidExtent> extent = readContactExtent(db, engine);
        if (!extent.ok())
            return extent;
        status = run(sql.createCopy);
        if (!status.ok())
            return status;
        size = extent.value.count;
        live.emplace(db, engine, sql.liveTable, sql.liveKey, extent.value);
        nextRowid = extent.value.first;
        if (size == 0)
            finishCopy();
        return status;
    }

    qint64 count() const { return size; }
    bool holdsFile() const { return inTransaction; }

    Result<ContactListRows> rows(qint64 first, int count)
    {
        if (copy)
            return copy->rows(first, count);
        return live->rows(first, count);
    }

    // Copies the next rows in stored order; the last step lets the file go.
    void copyNextChunk()
    {
        if (!copyQuery && !prepareCopy()) {
            giveUpCopy();
            return;
        }
        int value = 0;
        if (server)
            copyQuery->bindValue(value++, copied);
        copyQuery->bindValue(value, nextRowid);
        if (!copyQuery->exec()) {
            giveUpCopy();
            return;
        }
        const int copiedNow = copyQuery->numRowsAffected();
        copied += copiedNow;
        if (copiedNow < copyChunkRows) {
            finishCopy();
            return;
        }
        // The next step starts after the last key copied.
        lastCopiedQuery->bindValue(0, copied);
        if (!lastCopiedQuery->exec() || !lastCopiedQuery->next()) {
            giveUpCopy();
            return;
        }
        const qint64 lastRowid = lastCopiedQuery->value(0).toLongLong();
        lastCopiedQuery->finish();
        if (lastRowid == std::numeric_limits<qint64>::max())
            finishCopy();
        else
            nextRowid = lastRowid + 1;
    }

    void close()
    {
        copyQuery.reset();
        lastCopiedQuery.reset();
        live.reset();
        copy.reset();
        if (inTransaction && db.isOpen())
            run(QStringLiteral("ROLLBACK"));
        db.close();
    }

private:
    Status openFile(const QString &path)
    {
        db.setDatabaseName(readOnlyUri(path));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;"
                                            "QSQLITE_BUSY_TIMEOUT=%1")
                                 .arg(busyTimeoutMs));
        if (!db.open())
            return engineFailure(db.lastError());
        // The copy spills to disk rather than grow in memory.
        Status status = run(QStringLiteral("PRAGMA temp_store = FILE"));
        for (const char *schema : {"main", "temp"}) {
            if (status.ok())
                status = run(QStringLiteral("PRAGMA %1.cache_size = -%2")
                                 .arg(QLatin1String(schema))
                                 .arg(cacheKiB));
        }
        return status;
    }

    Status run(const QString &statement)
    {
        QSqlQuery query(db);
        if (query.exec(statement))
            return {};
        return server ? server->failure(query.lastError()) : engineFailure(query.lastError());
    }

    bool prepareCopy()
    {
        copyQuery.emplace(db);
        copyQuery->setForwardOnly(true);
        lastCopiedQuery.emplace(db);
        lastCopiedQuery->setForwardOnly(true);
        return copyQuery->prepare(sql.copyChunk)
            && lastCopiedQuery->prepare(
                QStringLiteral("SELECT src FROM %1 WHERE %2 = ?").arg(sql.copyTable, sql.copyKey));
    }

    void finishCopy()
    {
        copyQuery.reset();
        lastCopiedQuery.reset();
        if (!run(QStringLiteral("COMMIT")).ok()) {
            giveUpCopy();
            return;
        }
        inTransaction = false;
        // The copy's keys run from 1 without gaps, so every page is a range.
        copy.emplace(db, engine, sql.copyTable, sql.copyKey, RowidExtent{copied, 1, copied});
    }

    // Without room for the copy the file is let go all the same, so that the
    // main window can write; later pages then come from the file as it is.
    void giveUpCopy()
    {
        copyQuery.reset();
        lastCopiedQuery.reset();
        if (db.isOpen()) {
            run(QStringLiteral("ROLLBACK"));
            run(QStringLiteral("DROP TABLE IF EXISTS %1").arg(sql.copyTable));
        }
        inTransaction = false;
    }

    Engine engine;
    SnapshotSql sql;
    QString name;
    std::unique_ptr<ServerLink> server;
    QSqlDatabase db;
    bool inTransaction = false;
    qint64 size = 0;
    std::optional<ContactListReader> live;
    std::optional<ContactListReader> copy;
    std::optional<QSqlQuery> copyQuery;
    std::optional<QSqlQuery> lastCopiedQuery;
    qint64 nextRowid = 0;
    qint64 copied = 0;
};

} // namespace

// Between the caller's thread and the snapshot's own, under `mutex`.
struct ContactListSnapshot::Shared
{
    std::mutex mutex;
    std::condition_variable changed;
    bool opened = false;
    Status openStatus;
    qint64 count = 0;
    bool released = false;
    bool finished = false;
    bool stopping = false;
    std::optional<std::pair<qint64, int>> request;
    std::optional<Result<ContactListRows>> answer;
};

ContactListSnapshot::ContactListSnapshot()
    : shared(std::make_shared<Shared>())
{ }

ContactListSnapshot::~ContactListSnapshot()
{
    if (!thread)
        return;
    {
        std::lock_guard lock(shared->mutex);
        shared->stopping = true;
    }
    shared->changed.notify_all();
    thread->wait();
}

void ContactListSnapshot::serve(Shared &shared, const PhoneBookSource &source)
{
    {
        Session session(source);
        const Status status = session.open(source);
        std::unique_lock lock(shared.mutex);
        shared.openStatus = status;
        shared.count = status.ok() ? session.count() : 0;
        shared.opened = true;
        shared.released = !session.holdsFile();
        shared.changed.notify_all();

        const auto asked = [&] { return shared.stopping || shared.request.has_value(); };
        const auto latest = std::chrono::steady_clock::now() + latestCopyStart;
        auto copyFrom = latest;
        bool copying = false;
        while (status.ok()) {
            if (!session.holdsFile())
                shared.changed.wait(lock, asked);
            else if (!copying)
                copying = !shared.changed.wait_until(lock, copyFrom, asked);
            if (shared.stopping)
                break;
            if (shared.request) {
                const auto [first, count] = *shared.request;
                shared.request.reset();
                lock.unlock();
                Result<ContactListRows> answer = session.rows(first, count);
                lock.lock();
                shared.answer = std::move(answer);
                shared.changed.notify_all();
                copyFrom = std::min(latest, std::chrono::steady_clock::now() + quietBeforeCopy);
                continue;
            }
            lock.unlock();
            session.copyNextChunk();
            lock.lock();
            if (!session.holdsFile()) {
                shared.released = true;
                shared.changed.notify_all();
            }
        }
        lock.unlock();
        session.close();
    }
    std::lock_guard lock(shared.mutex);
    shared.released = true;
    shared.finished = true;
    shared.changed.notify_all();
}

Status ContactListSnapshot::open(const PhoneBookSource &source)
{
    if (thread)
        return storeFailure(ObjectNotSet);
    thread.reset(QThread::create([shared = shared, source] { serve(*shared, source); }));
    thread->start();
    std::unique_lock lock(shared->mutex);
    shared->changed.wait(lock, [&] { return shared->opened; });
    size = shared->count;
    return shared->openStatus;
}

Result<ContactListRows> ContactListSnapshot::rows(qint64 first, int count)
{
    std::unique_lock lock(shared->mutex);
    if (shared->finished || !shared->openStatus.ok() || !thread)
        return {};
    shared->request = {first, count};
    shared->answer.reset();
    shared->changed.notify_all();
    shared->changed.wait(lock, [&] { return shared->answer || shared->finished; });
    if (!shared->answer)
        return {};
    Result<ContactListRows> answer = std::move(*shared->answer);
    shared->answer.reset();
    return answer;
}

bool ContactListSnapshot::waitUntilReleased(int timeoutMs)
{
    std::unique_lock lock(shared->mutex);
    return shared->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                    [&] { return shared->released || !thread; });
}

} // namespace dialvault
