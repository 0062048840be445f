#pragma once

#include "store/contactentry.h"
#include "store/phonebooksource.h"
#include "store/storeerror.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace dialvault {

// An add whose outcome was not known, once settled on the server.
struct SettledAdd
{
    ContactEntry entry;
};

// How a delete of chosen entries went.
struct EntriesDeleted
{
    // Where each entry went among the recently deleted, in the order given.
    QList<qint64> ids;
    // Nothing was deleted: an entry no longer held what it was expected to.
    bool refused = false;
    // The entries found so, as far as they are known (what they hold now).
    QList<EntryNow> meanwhile;
};

// How putting back recently deleted entries went.
struct EntriesRestored
{
    // Each entry's new key, in the order of the ids given.
    QList<qint64> keys;
    // Nothing was put back: these are no longer among the recently deleted
    // (put back or deleted for good by another copy of the program).
    QList<qint64> missing;
    bool done() const { return missing.isEmpty(); }
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
    // Deletes the first match, keeping it among the recently deleted in the
    // same transaction, and closes the result; NoCurrentRecord when none.
    // When another connection deleted that entry meanwhile: on a file
    // RecordIsDeleted; on a server the name's first entry now is deleted
    // instead, so that people deleting one name at once delete one entry
    // each, until none is left.
    Status deleteFirstMatch();
    // Stores one entry (whether the table or a query is open: it lands in
    // `test`), durably, then closes the result.
    Status appendEntry(const ContactEntry &entry);

    // The key of the entry the last successful appendEntry() stored.
    qint64 lastAddedKey() const;
    // The entry the last successful deleteFirstMatch() deleted, as it is
    // kept among the recently deleted (in the same transaction); its id is
    // 0 on a server that keeps none yet (see server-init), where the delete
    // cannot be undone.
    const DeletedEntry &lastDeleted() const;

    // Stores `now` in the entry with `key` only while it still holds
    // `expected` (a null text and the empty one are the same), durably;
    // otherwise nothing is written and the state says why, with what the
    // entry holds now. The row number is left as it is.
    Result<EntryNow> correctEntry(qint64 key, const EntryTexts &expected, const EntryTexts &now);
    // Deletes the entries in one transaction, each kept among the recently
    // deleted. When any no longer holds its texts (or is gone), nothing is
    // deleted and `meanwhile` lists each such entry.
    Result<EntriesDeleted> deleteEntries(const QList<KeyedEntry> &entries);
    // The same for the entries one change stored (an import), told by their
    // keys and their digest: refused when one is gone or changed since.
    Result<EntriesDeleted> deleteStoredKeys(const StoredKeys &keys);

    // The recently deleted entries, newest first; at most `limit` of them
    // when it is not negative.
    Result<QList<DeletedEntry>> recentlyDeleted(qsizetype limit = -1);
    // Puts the entries back in one transaction, in the order of `ids`: each
    // as a new entry, numbered as an add is (the count plus 1), with a new
    // key, to which the address-book links of its former key move, and
    // removed from the recently deleted.
    Result<EntriesRestored> restoreDeleted(const QList<qint64> &ids);
    // Removes for good the entries deleted more than keptDays before `now`;
    // the number removed.
    Result<qint64> purgeDeleted(const QDateTime &now);
    static constexpr int keptDays = 30;

    // The clock that stamps deletions (UTC); the system's unless set.
    void setClock(std::function<QDateTime()> now);

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
