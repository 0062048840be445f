#pragma once

#include "store/contactentry.h"
#include "store/storeerror.h"

#include <QString>

#include <memory>

namespace dialvault {

// The contact database: db1.mdb in the given folder, table `test`. Holds one
// open database and one recordset slot, which after OpenStore holds the table
// and after QueryByName the result of a name query. Every failure comes back
// as a numbered StoreError; nothing is thrown.
class ContactStore
{
public:
    explicit ContactStore(const QString &folder);
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
    Status DeleteFirstMatch();
    // Stores one entry through the slot (table or query: it lands in `test`),
    // durably, then closes the slot.
    Status AppendEntry(const ContactEntry &entry);

    QString databasePath() const;

    static QString fileName() { return QStringLiteral("db1.mdb"); }

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dialvault
