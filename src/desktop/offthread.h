#pragma once

#include <QEventLoop>
#include <QThread>

#include <functional>
#include <memory>

namespace dialvault {

// `work`, which waits on a disk or a server, run on a thread of its own
// while the window's events go on: the windows stay drawn and their clock
// ticks. `work` makes and uses its own connections, which belong to its
// thread.
template <typename T>
T awaitOffThread(const std::function<T()> &work)
{
    T result;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&] { result = work(); }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    return result;
}

} // namespace dialvault
