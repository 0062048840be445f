#pragma once

#include "sync/passwordsource.h"
#include "sync/syncerror.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QNetworkAccessManager>
#include <QPair>
#include <QUrl>

#include <atomic>

namespace dialvault {

// How long the server may take: a request that receives nothing for
// `stallMs` is cut, and so is one that takes longer than `requestMs` in all.
// `parallel` requests are in flight at most. A server answers a listing
// only once it has read every card: 20,000 of them kept Radicale silent for
// longer than 15 s.
struct DavLimits
{
    int stallMs = 60000;
    int requestMs = 120000;
    int parallel = 4;
};

struct DavRequest
{
    QByteArray method;
    QUrl url;
    QByteArray body = {};
    QList<QPair<QByteArray, QByteArray>> headers = {};
};

// The server's answer: its status and body, or why none came (`failure`:
// Unreachable, Untrusted, TimedOut, DeadlinePassed).
struct DavReply
{
    int status = 0;
    QByteArray body;
    QByteArray etag;
    SyncStatus failure;
};

// HTTP to the address book's server, every request with the user's
// credentials and a deadline. Each call waits for its answers in an event
// loop of its own, so it may run on any thread that has none running (the
// windows give it a worker thread of its own).
class DavTransport
{
public:
    DavTransport(Credentials credentials, DavLimits limits);

    // The answers to `requests`, each in its place.
    QList<DavReply> sendAll(const QList<DavRequest> &requests);
    DavReply send(const DavRequest &request);

    // The whole sync's deadline, and a flag that ends it sooner (the window
    // that waits for it closes): past either, nothing more is sent and the
    // requests in flight are cut, each answered DeadlinePassed.
    void setDeadline(QDeadlineTimer deadline, const std::atomic<bool> *stop);

    int requestsSent() const { return m_sent; }

private:
    QNetworkAccessManager m_network;
    QByteArray m_authorization;
    DavLimits m_limits;
    QDeadlineTimer m_deadline{QDeadlineTimer::Forever};
    const std::atomic<bool> *m_stop = nullptr;
    int m_sent = 0;

    bool pastDeadline() const { return m_deadline.hasExpired() || (m_stop && *m_stop); }
};

} // namespace dialvault
