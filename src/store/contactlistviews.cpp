#include "store/contactlistviews.h"

#include "store/contactlistindex.h"
#include "store/contactlistsnapshot.h"

#include <QThread>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>

namespace dialvault {

namespace {

// How often the thread looks whether it is to stop while the copy is made.
constexpr int releaseCheckMs = 50;

} // namespace

// Between the callers' threads and the views' own, under `mutex`.
struct ContactListViews::Shared
{
    std::shared_ptr<ContactListSnapshot> snapshot;
    std::function<void()> published;

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    ListOrder order;
    QString filter;
    quint64 asked = 0; // counts requests
    quint64 answered = 0; // the request latest answers
    std::shared_ptr<const ContactListView> latest;
    // Set to stop the thread, and whenever a newer request makes the view
    // being made useless.
    std::atomic<bool> stopping = false;
    std::atomic<bool> superseded = false;
};

ContactListViews::ContactListViews(std::shared_ptr<ContactListSnapshot> snapshot,
                                   std::function<void()> published)
    : m_shared(std::make_shared<Shared>())
{
    m_shared->latest = ContactListView::stored(snapshot->count());
    m_shared->snapshot = std::move(snapshot);
    m_shared->published = std::move(published);
    m_thread.reset(QThread::create([shared = m_shared] { serve(*shared); }));
    m_thread->start(QThread::LowPriority);
}

ContactListViews::~ContactListViews()
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->stopping = true;
        m_shared->superseded = true;
    }
    m_shared->changed.notify_all();
    m_thread->wait();
}

void ContactListViews::request(const ListOrder &order, const QString &filter)
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->order = order;
        m_shared->filter = filter;
        ++m_shared->asked;
        m_shared->superseded = true;
    }
    m_shared->changed.notify_all();
}

std::shared_ptr<const ContactListView> ContactListViews::latest() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->latest;
}

bool ContactListViews::waitUntilCurrent(int timeoutMs) const
{
    std::unique_lock lock(m_shared->mutex);
    return m_shared->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                      [&] { return m_shared->answered == m_shared->asked; });
}

void ContactListViews::serve(Shared &shared)
{
    ContactListSnapshot &snapshot = *shared.snapshot;
    while (!snapshot.waitUntilReleased(releaseCheckMs)) {
        if (shared.stopping)
            return;
    }
    const Result<std::shared_ptr<ContactListIndex>> index = ContactListIndex::build(
        snapshot.count(), [&](qint64 first, int count) { return snapshot.rows(first, count); },
        shared.stopping);
    if (shared.stopping)
        return;

    // The other columns' orders on a thread of their own once the first
    // view is shown, so that a click on a heading finds its order ready and
    // no keystroke waits for one. Joined as this function returns.
    std::future<void> otherOrders;
    const auto orderTheRest = [&] {
        if (!index.ok() || otherOrders.valid())
            return;
        otherOrders = std::async(std::launch::async, [&] {
            while (const std::optional<ListColumn> next = index.value->unstarted()) {
                if (!index.value->order(*next, shared.stopping))
                    return;
            }
        });
    };

    std::unique_lock lock(shared.mutex);
    while (!shared.stopping) {
        if (shared.answered == shared.asked) {
            orderTheRest();
            shared.changed.wait(lock);
            continue;
        }
        const quint64 asked = shared.asked;
        const ListOrder order = shared.order;
        const QString filter = shared.filter;
        shared.superseded = false;
        lock.unlock();

        std::shared_ptr<const ContactListView> view;
        if (index.ok()) {
            // The order asked for is finished whatever is asked meanwhile:
            // keystrokes in the find box ask for it again and again.
            std::shared_ptr<const ColumnOrder> sorted;
            if (order.column)
                sorted = index.value->order(*order.column, shared.stopping);
            if (!shared.stopping)
                view = ContactListView::of(*index.value, std::move(sorted), order, filter,
                                           shared.superseded);
        } else {
            auto failed = std::make_shared<ContactListView>();
            failed->count = snapshot.count();
            failed->failure = index;
            view = std::move(failed);
        }

        lock.lock();
        if (!view || shared.asked != asked)
            continue;
        shared.latest = std::move(view);
        shared.answered = asked;
        lock.unlock();
        shared.changed.notify_all();
        if (shared.published)
            shared.published();
        lock.lock();
    }
}

} // namespace dialvault
