#pragma once

#include "store/contactentry.h"
#include "store/phonebooksource.h"
#include "store/storeerror.h"

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
// recordset slot, which after OpenStore holds the table and after QueryByName
// the result of a name query. Every failure comes back as a numbered
// StoreError; nothing is thrown.
//
// On a server each add and delete is a transaction of its own, committed
// before it is reported. A connection that broke is opened again by the next
// operation (which a read or a change that may safely run twice then retries
// once). An add whose answer was lost with the connection is reported as
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

    // Opens <folder>/db1.mdb shared for reading and writing (never creating it)
    // and the table `test`, replacing the database and the recordset slot.
    Status OpenStore();
    // The exact number of rows in `test`, from the table opened by OpenStore.
    Result<qint32> CountEntries();
    // Puts the entries whose name equals `name` (first in storage order) into the slot.
    Status QueryByName(const QString &name);
    // The phone number and note of the first match (a NULL field reads as the
    // empty text); NoCurrentRecord when none.
    Result<PhoneAndNote> ReadFirstMatch();
    // Closes whatever the slot holds.
    Status CloseRecordset();
    // Deletes the first match and closes the query; NoCurrentRecord when none.
    // When another connection deleted that entry meanwhile: on a file
    // RecordIsDeleted; on a server the name's first entry now is deleted
    // instead, so that people deleting one name at once delete one entry
    // each, until none is left.
    Status DeleteFirstMatch();
    // Stores one entry through the slot (table or query: it lands in `test`),
    // durably, then closes the slot.
    Status AppendEntry(const ContactEntry &entry);

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
