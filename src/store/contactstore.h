#pragma once

#include "store/contactentry.h"
#include "store/phonebooksource.h"
#include "store/storeerror.h"

#include <QDeadlineTimer>
#include <QList>
#include <QString>

#include <memory>

namespace dialvault {

// An add whose outcome was not known, once settled on the server.
struct SettledAdd
{
    ContactEntry entry;
};

// The contact database: db1.mdb in the given folder, or table `test` on a
// server, the same six operations on either. Holds one open database and one
// open result, which after open() is the table and after queryByName() the
// name query's first match. Every failure comes back as a numbered
// StoreError; nothing is thrown.
//
// A connection that broke (on a server) is opened again by the next
// operation, which a read or a change that may safely run twice then retries
// once. An add whose answer was lost with the connection is reported as
// OutcomeUnknown and kept: the next add of the same entry sends it again
// under the same key, which stores it once at most; otherwise it is sent
// again as soon as the server answers, and then handed out by settledAdds().
class ContactStore
{
public:
    explicit ContactStore(const QString &folder);
    explicit ContactStore(const PhoneBookSource &source);
    ~ContactStore();
    ContactStore(const ContactStore &) = delete;
    ContactStore &operator=(const ContactStore &) = delete;

    // Opens the phone book (a file shared for reading and writing, never
    // created) and the table `test`, replacing the database and the open
    // result.
    Status open();
    // The exact number of rows in `test`, with the table open.
    Result<qint32> countEntries();
    // Opens, as the result, the entries whose name equals `name` (first in
    // storage order).
    Status queryByName(const QString &name);
    // The phone number and note of the first match (a NULL field reads as the
    // empty text); NoCurrentRecord when none.
    Result<PhoneAndNote> readFirstMatch();
    // Closes whatever result is open; ObjectNotSet when none is.
    Status closeResult();
    // Deletes the first match and closes the result; NoCurrentRecord when
    // none. When another connection deleted that entry meanwhile: on a file
    // RecordIsDeleted; on a server the name's first entry now is deleted
    // instead, so that people deleting one name at once delete one entry
    // each, until none is left.
    Status deleteFirstMatch();
    // Stores one entry (whether the table or a query is open: it lands in
    // `test`), durably, then closes the result.
    Status appendEntry(const ContactEntry &entry);

    // The latest moment of the operations from now on (a window's
    // operation), beside the timeout of each statement on a server:
    // nothing is sent, and no connection made, after it.
    void setDeadline(const QDeadlineTimer &deadline);

    const PhoneBookSource &source() const;
    // The file; empty for a server.
    QString databasePath() const;

    // The adds of unknown outcome that are now stored, each handed out once.
    QList<SettledAdd> settledAdds();

    static QString fileName() { return QStringLiteral("db1.mdb"); }

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dialvault
