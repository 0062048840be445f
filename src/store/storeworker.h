#pragma once

#include "store/contactstore.h"
#include "store/phonebooksource.h"

#include <QObject>

#include <functional>
#include <memory>

namespace dialvault {

// A window's contact store, worked on off the window's thread when it lives
// on a server, so that a window never waits on the server: the window posts
// an operation (work on the store), goes on drawing and ticking, and is
// handed the end (`done`) on its own thread. One operation at a time: a
// second one posted while the first runs is refused, as a second click on a
// button that waits. Each operation as a whole is held to the source's
// timeout, beside each of its statements, so that it ends by then with the
// server's silence as its failure.
//
// A phone book in a file is worked on where the operation is posted: its
// waits are bounded by SQLite's own busy timeout, and its windows then
// behave step for step as they always did.
class StoreWorker : public QObject
{
    Q_OBJECT

public:
    using Work = std::function<void(ContactStore &)>;

    explicit StoreWorker(const PhoneBookSource &source, QObject *parent = nullptr);
    // Waits for an operation under way (it ends by its deadline).
    ~StoreWorker() override;
    StoreWorker(const StoreWorker &) = delete;
    StoreWorker &operator=(const StoreWorker &) = delete;

    const PhoneBookSource &source() const;
    bool busy() const;

    // `work` on the store, then `done` on this object's thread; false, with
    // nothing run, while another operation is under way.
    bool post(Work work, std::function<void()> done);
    // `work` on the store, waited for: before a window is shown.
    void runNow(const Work &work);

Q_SIGNALS:
    // An operation began or ended: a window shows that it waits.
    void busyChanged(bool busy);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dialvault
