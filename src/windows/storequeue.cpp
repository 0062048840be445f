#include "windows/storequeue.h"

#include <QPointer>

namespace dialvault {

StoreQueue::StoreQueue(StoreWorker &worker, QObject *window)
    : QObject(window)
    , m_worker(worker)
{
    connect(&worker, &StoreWorker::busyChanged, this, [this](bool busy) {
        if (!busy)
            postWaiting();
    });
}

void StoreQueue::post(StoreWorker::Work work, std::function<void()> done)
{
    m_waiting.push_back({std::move(work), [queue = QPointer(this), done = std::move(done)] {
                             if (queue)
                                 done();
                         }});
    postWaiting();
}

void StoreQueue::postWaiting()
{
    // Taken off the queue first: on a file the work and its end run inside
    // post(), and may post again.
    while (!m_waiting.empty() && !m_worker.busy()) {
        Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        m_worker.post(std::move(next.work), std::move(next.done));
    }
}

} // namespace dialvault
