#pragma once

#include "store/contactlistview.h"
#include "store/listorder.h"

#include <QString>

#include <functional>
#include <memory>

class QThread;

namespace dialvault {

class ContactListSnapshot;

// Orders and narrows a contact list's snapshot on a thread of its own, so
// that the window never waits for it. Once the snapshot's private copy is
// complete, the thread reads every entry once into a ContactListIndex; from
// then on each view asked for is made from the index alone, and the orders
// not yet asked for are worked out on another thread meanwhile. A view asked
// for while another is being made cancels it: as a person types, only the
// last text is looked for.
class ContactListViews
{
public:
    // `published` runs on the thread after each new view is ready: latest()
    // then gives it.
    ContactListViews(std::shared_ptr<ContactListSnapshot> snapshot,
                     std::function<void()> published = {});
    ~ContactListViews();
    ContactListViews(const ContactListViews &) = delete;
    ContactListViews &operator=(const ContactListViews &) = delete;

    // Asks for the entries that `filter` matches, in `order`.
    void request(const ListOrder &order, const QString &filter);
    // The view made last: at first every entry in stored order. A view that
    // could not be made (the entries could not be read) carries the failure
    // and shows every entry in stored order.
    std::shared_ptr<const ContactListView> latest() const;
    // Waits until latest() is the view last asked for; true if in time.
    bool waitUntilCurrent(int timeoutMs) const;

private:
    struct Shared;
    static void serve(Shared &shared);

    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<QThread> m_thread;
};

} // namespace dialvault
