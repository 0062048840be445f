#include "store/contactlistsnapshot.h"

#include "store/contactlistreader.h"
#include "store/contactlistview.h"
#include "store/storeengine.h"
#include "store/storefailure.h"

#include <QThread>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>
#include <variant>
#include <vector>

namespace dialvault {

namespace {

// A few tenths of a millisecond of copying, so that a page asked for
// meanwhile hardly waits.
constexpr int copyChunkRows = 1024;
// The copy waits until the first screen has its rows, so as not to compete
// with painting it: it starts once no page has been asked for in a short
// while, and soon in any case, as the file is held until the copy is complete.
constexpr std::chrono::milliseconds quietBeforeCopy{20};
constexpr std::chrono::milliseconds latestCopyStart{200};
// The copy's column that keeps each entry's key in the phone book (ListSql).
const QString entryKeyColumn = QStringLiteral("src");

// Everything the snapshot's own thread does on its connection.
class Session
{
public:
    explicit Session(const PhoneBookSource &source)
        : m_engine(makeStoreEngine(source))
        , m_sql(m_engine->listSql())
        , m_copyChunk{m_sql.copyChunk}
        , m_lastCopied{QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                           .arg(entryKeyColumn, m_sql.copyTable, m_sql.copyKey)}
    { }

    ~Session() { close(); }

    Status open()
    {
        Status status = m_engine->openForReading();
        if (status.ok())
            status = m_engine->begin(Transaction::Snapshot);
        if (!status.ok())
            return status;
        m_inTransaction = true;
        const Result<KeyExtent> extent = m_engine->listExtent();
        if (!extent.ok())
            return extent;
        status = m_engine->run(m_sql.createCopy);
        if (!status.ok())
            return status;
        m_count = extent.value.count;
        m_live.emplace(*m_engine, m_sql.table, m_sql.key, extent.value);
        m_nextKey = extent.value.first;
        if (m_count == 0)
            finishCopy();
        return status;
    }

    qint64 count() const { return m_count; }
    bool holdsFile() const { return m_inTransaction; }

    Result<ContactListRows> rows(qint64 first, int count)
    {
        if (m_copy)
            return m_copy->rows(first, count);
        return m_live->rows(first, count);
    }

    Result<ContactListRows> rowsAt(std::span<const qint64> positions)
    {
        if (m_copy)
            return m_copy->rowsAt(positions);
        return m_live->rowsAt(positions);
    }

    // Copies the next rows in stored order; the last step lets the file go.
    void copyNextChunk()
    {
        Status status;
        QSqlQuery *copying = m_engine->statement(m_copyChunk, status);
        if (!copying) {
            giveUpCopy();
            return;
        }
        copying->bindValue(0, m_nextKey);
        copying->bindValue(1, copyChunkRows);
        if (!copying->exec()) {
            giveUpCopy();
            return;
        }
        const int copiedNow = copying->numRowsAffected();
        m_copied += copiedNow;
        if (copiedNow < copyChunkRows) {
            finishCopy();
            return;
        }
        // The next step starts after the last key copied.
        QSqlQuery *last = m_engine->statement(m_lastCopied, status);
        if (!last) {
            giveUpCopy();
            return;
        }
        last->bindValue(0, m_copied);
        if (!last->exec() || !last->next()) {
            giveUpCopy();
            return;
        }
        const qint64 lastKey = last->value(0).toLongLong();
        last->finish();
        if (lastKey == std::numeric_limits<qint64>::max())
            finishCopy();
        else
            m_nextKey = lastKey + 1;
    }

    void close()
    {
        m_live.reset();
        m_copy.reset();
        if (m_inTransaction)
            m_engine->rollback();
        m_inTransaction = false;
        m_engine->close();
    }

private:
    void finishCopy()
    {
        if (!m_engine->commit().ok()) {
            giveUpCopy();
            return;
        }
        m_inTransaction = false;
        // The copy's keys run from 1 without gaps, so every page is a range.
        m_copy.emplace(*m_engine, m_sql.copyTable, m_sql.copyKey, KeyExtent{m_copied, 1, m_copied},
                       entryKeyColumn);
    }

    // Without room for the copy the file is let go all the same, so that the
    // main window can write; later pages then come from the file as it is.
    void giveUpCopy()
    {
        m_engine->rollback();
        m_engine->run(QStringLiteral("DROP TABLE IF EXISTS %1").arg(m_sql.copyTable));
        m_inTransaction = false;
    }

    std::unique_ptr<StoreEngine> m_engine;
    ListSql m_sql;
    EngineSql m_copyChunk;
    EngineSql m_lastCopied; // the source's key of the entry copied at a position
    bool m_inTransaction = false;
    qint64 m_count = 0;
    std::optional<ContactListReader> m_live;
    std::optional<ContactListReader> m_copy;
    qint64 m_nextKey = 0;
    qint64 m_copied = 0;
};

} // namespace

// Between the callers' threads and the snapshot's own, under `mutex`.
struct ContactListSnapshot::Shared
{
    std::mutex callers; // held by the one caller whose request is served
    std::mutex mutex;
    std::condition_variable changed;
    bool opened = false;
    Status openStatus;
    qint64 count = 0;
    bool released = false;
    bool finished = false;
    bool stopping = false;
    std::optional<RowsRequest> request;
    std::optional<Result<ContactListRows>> answer;
};

ContactListSnapshot::ContactListSnapshot()
    : m_shared(std::make_shared<Shared>())
{ }

ContactListSnapshot::~ContactListSnapshot()
{
    if (!m_thread)
        return;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->stopping = true;
    }
    m_shared->changed.notify_all();
    m_thread->wait();
}

void ContactListSnapshot::serve(Shared &shared, const PhoneBookSource &source)
{
    {
        Session session(source);
        const Status status = session.open();
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
                const RowsRequest request = std::move(*shared.request);
                shared.request.reset();
                lock.unlock();
                Result<ContactListRows> answer;
                if (const auto *range = std::get_if<std::pair<qint64, int>>(&request))
                    answer = session.rows(range->first, range->second);
                else
                    answer = session.rowsAt(std::get<std::vector<qint64>>(request));
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
    if (m_thread)
        return storeFailure(ObjectNotSet);
    m_thread.reset(QThread::create([shared = m_shared, source] { serve(*shared, source); }));
    m_thread->start();
    std::unique_lock lock(m_shared->mutex);
    m_shared->changed.wait(lock, [&] { return m_shared->opened; });
    m_count = m_shared->count;
    return m_shared->openStatus;
}

Result<ContactListRows> ContactListSnapshot::rows(qint64 first, int count)
{
    return ask(std::pair{first, count});
}

Result<ContactListRows> ContactListSnapshot::rowsAt(std::span<const qint64> positions)
{
    return ask(std::vector<qint64>(positions.begin(), positions.end()));
}

Result<ContactListRows> ContactListSnapshot::rows(const ContactListView &view, qint64 first,
                                                  int count)
{
    first = std::max<qint64>(first, 0);
    count = int(std::clamp<qint64>(view.count - first, 0, count));
    if (view.isIdentity())
        return rows(first, count);
    std::vector<qint64> positions(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        positions[i] = view.positionAt(first + i);
    return ask(std::move(positions));
}

Result<ContactListRows> ContactListSnapshot::ask(RowsRequest request)
{
    std::lock_guard turn(m_shared->callers);
    std::unique_lock lock(m_shared->mutex);
    if (m_shared->finished || !m_shared->openStatus.ok() || !m_thread)
        return {};
    m_shared->request = std::move(request);
    m_shared->answer.reset();
    m_shared->changed.notify_all();
    m_shared->changed.wait(lock, [&] { return m_shared->answer || m_shared->finished; });
    if (!m_shared->answer)
        return {};
    Result<ContactListRows> answer = std::move(*m_shared->answer);
    m_shared->answer.reset();
    return answer;
}

bool ContactListSnapshot::waitUntilReleased(int timeoutMs)
{
    std::unique_lock lock(m_shared->mutex);
    return m_shared->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                      [&] { return m_shared->released || !m_thread; });
}

} // namespace dialvault
