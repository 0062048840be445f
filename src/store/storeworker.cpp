#include "store/storeworker.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QThread>

namespace dialvault {

struct StoreWorker::Impl
{
    PhoneBookSource source;
    // On the worker's thread for a server: a connection belongs to the
    // thread that made it. Made by the first operation.
    std::unique_ptr<ContactStore> store;
    QThread thread;
    // Lives on `thread`: what the operations are posted to.
    QObject *home = nullptr;
    bool busy = false;

    bool threaded() const { return source.isServer(); }

    void work(const Work &work)
    {
        if (!store)
            store = std::make_unique<ContactStore>(source);
        store->setDeadline(threaded() ? QDeadlineTimer(source.timeout()) : QDeadlineTimer());
        work(*store);
    }
};

StoreWorker::StoreWorker(const PhoneBookSource &source, QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Impl>())
{
    d->source = source;
    if (d->threaded()) {
        d->thread.setObjectName(QStringLiteral("store worker"));
        d->home = new QObject;
        d->home->moveToThread(&d->thread);
        connect(&d->thread, &QThread::finished, d->home, &QObject::deleteLater);
        d->thread.start();
    }
}

StoreWorker::~StoreWorker()
{
    if (!d->threaded())
        return;
    // The store is closed on the thread that opened it.
    QMetaObject::invokeMethod(
        d->home, [impl = d.get()] { impl->store.reset(); }, Qt::BlockingQueuedConnection);
    d->thread.quit();
    d->thread.wait();
}

const PhoneBookSource &StoreWorker::source() const
{
    return d->source;
}

bool StoreWorker::busy() const
{
    return d->busy;
}

bool StoreWorker::post(Work work, std::function<void()> done)
{
    if (d->busy)
        return false;
    if (!d->threaded()) {
        d->work(work);
        done();
        return true;
    }
    d->busy = true;
    Q_EMIT busyChanged(true);
    QPointer<StoreWorker> self(this);
    QMetaObject::invokeMethod(
        d->home,
        [self, impl = d.get(), work = std::move(work), done = std::move(done)] {
            // The worker outlives this: its destructor waits for the thread.
            impl->work(work);
            QMetaObject::invokeMethod(
                self,
                [self, done] {
                    done();
                    // `done` may have closed the window that owns the worker.
                    if (self) {
                        self->d->busy = false;
                        Q_EMIT self->busyChanged(false);
                    }
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return true;
}

void StoreWorker::runNow(const Work &work)
{
    if (!d->threaded()) {
        d->work(work);
        return;
    }
    QMetaObject::invokeMethod(
        d->home, [impl = d.get(), &work] { impl->work(work); }, Qt::BlockingQueuedConnection);
}

} // namespace dialvault
