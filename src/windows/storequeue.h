#pragma once

#include "store/contactstore.h"
#include "store/storeworker.h"

#include <QObject>

#include <deque>
#include <functional>

namespace dialvault {

// A window's operations on a store worker that other windows share: the
// worker does one at a time and refuses the rest, so each waits here until
// the worker is free, in the order posted. The end of each is told only
// while the window stands: a server may answer after it closed.
class StoreQueue : public QObject
{
    Q_OBJECT

public:
    // Belongs to `window`.
    StoreQueue(StoreWorker &worker, QObject *window);

    StoreWorker &worker() const { return m_worker; }
    // `work` on the store once the worker is free, then `done` on the
    // window's thread.
    void post(StoreWorker::Work work, std::function<void()> done);

private:
    struct Waiting
    {
        StoreWorker::Work work;
        std::function<void()> done;
    };

    void postWaiting();

    StoreWorker &m_worker;
    std::deque<Waiting> m_waiting;
};

// `operation` on the phone book opened afresh, as every window's operation
// starts: the worker's store may not be open yet, or hold a query's result.
template <typename Operation>
auto onOpened(ContactStore &store, Operation operation) -> decltype(operation())
{
    if (const Status opened = store.open(); !opened.ok()) {
        decltype(operation()) failed;
        failed.error = opened.error;
        return failed;
    }
    return operation();
}

} // namespace dialvault
