#pragma once

#include "store/contactentry.h"
#include "store/phonebooksource.h"
#include "store/storeerror.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace dialvault {

// An entry's link to a card of an address book: where the card is (its
// href), the ETag it had when last synced, and the entry's state then.
struct CardLink
{
    qint64 entry = 0;
    QString href;
    QString etag;
    QString state;
};

// What one sync changes in the phone book, applied in one transaction. An
// entry is changed or deleted only while it still holds what the sync read
// (`expected`): when somebody changed it meanwhile, nothing is applied.
struct LinkChanges
{
    struct Added
    {
        EntryTexts texts;
        CardLink link; // its entry is the one added
    };
    struct Changed
    {
        qint64 entry = 0;
        EntryTexts expected;
        EntryTexts texts;
    };
    // Kept among the recently deleted, for `reason`: the address book's
    // deletion of an entry changed here is a conflict.
    struct Deleted
    {
        qint64 entry = 0;
        EntryTexts expected;
        DeletionReason reason = DeletionReason::ByPerson;
    };

    QList<Added> added;
    QList<Changed> changed;
    QList<Deleted> deleted;
    QList<CardLink> links; // made or replaced
    QList<qint64> unlinked; // entries whose links go
    // Our versions of entries that lost a conflict to the server's version:
    // kept among the recently deleted, in the same transaction.
    QList<EntryTexts> putAside;
    QString syncToken; // the address book's, kept for the next sync
};

// How applying went.
enum class LinkApplied {
    Done,
    EntryChangedMeanwhile, // nothing was applied
};

// The phone book as a sync with the address book at `book` (its URL) sees
// it: the entries with their keys, each one's link to a card, and the
// address book's sync token. Opens a connection of its own, like PhoneBook.
class CardLinks
{
public:
    CardLinks(const PhoneBookSource &source, const QString &book);
    ~CardLinks();
    CardLinks(const CardLinks &) = delete;
    CardLinks &operator=(const CardLinks &) = delete;

    // The phone book opened; on a server, ServerNotPrepared when server-init
    // has not made the link tables yet.
    Status open();

    // One moment of the phone book: the token kept, then every entry, then
    // every link of the book, each in key order.
    Status read(QString &syncToken, const std::function<void(const KeyedEntry &)> &entry,
                const std::function<void(const CardLink &)> &link);

    // `changes` in one transaction; each added entry gets its row number as
    // an add does (the count plus 1).
    Result<LinkApplied> apply(const LinkChanges &changes);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dialvault
