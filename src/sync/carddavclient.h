#pragma once

#include "sync/addressbookaccount.h"
#include "sync/davtransport.h"
#include "sync/syncerror.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace dialvault {

// A card's place in the collection (its path, decoded) and its ETag.
struct CardRef
{
    QString href;
    QString etag;
};

// The collection's members that changed since a sync token (all of them
// for none), and those removed; `token` is the collection's now.
struct CardChanges
{
    QList<CardRef> changed;
    QStringList removed;
    QString token;
    bool complete = false; // every member is listed: those not listed are gone
};

// What a write of a card came to.
enum class WriteOutcome {
    Done,
    Conflict, // the card was changed or made meanwhile (412): nothing was written
    Gone, // the card is no longer there (404)
    Failed,
};

struct CardWrite
{
    QString href;
    QString etag; // If-Match; empty: the card must not exist yet (If-None-Match: *)
    QByteArray card; // empty: delete
};

struct WriteResult
{
    WriteOutcome outcome = WriteOutcome::Failed;
    QString etag; // the card's new ETag when the server says it
    SyncStatus failure;
};

// A CardDAV address book collection (RFC 6352) over WebDAV.
class CardDavClient
{
public:
    CardDavClient(const AddressBookAccount &account, const Credentials &credentials,
                  DavLimits limits = {});

    // Whether the URL is an address book collection, and its sync token
    // (empty when the server keeps none).
    SyncResult<QString> discover();
    // The changes since `token` through a sync-collection REPORT (RFC 6578).
    // A token the server no longer accepts, or a server without the report,
    // gives every member instead (`complete`), by a listing of ETags when
    // the report cannot.
    SyncResult<CardChanges> changesSince(const QString &token, bool serverHasTokens);
    // The cards at `hrefs`, handed to `visit` as they come (in batches):
    // href, ETag and the card; a card no longer there comes with no ETag.
    SyncStatus
    fetch(const QStringList &hrefs,
          const std::function<void(const QString &, const QString &, const QByteArray &)> &visit);
    // Every write conditional: `etag` must still be the card's (If-Match),
    // or no card may be there yet (If-None-Match).
    QList<WriteResult> write(const QList<CardWrite> &writes);

    // The whole sync's deadline and stop, for every request from now on.
    void setDeadline(QDeadlineTimer deadline, const std::atomic<bool> *stop)
    {
        m_transport.setDeadline(deadline, stop);
    }

    // The place of a new card in the collection.
    QString newCardHref(const QString &uid) const;
    int requestsSent() const { return m_transport.requestsSent(); }

private:
    SyncResult<CardChanges> report(const QString &token);
    SyncResult<CardChanges> listing();
    QUrl urlOf(const QString &href) const;
    QString hrefOf(const QString &written) const;
    SyncStatus statusFailure(const DavReply &reply, bool collection) const;

    AddressBookAccount m_account;
    DavTransport m_transport;
};

} // namespace dialvault
