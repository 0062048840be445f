#include "sync/carddavclient.h"

#include "sync/davxml.h"

#include <QSet>

namespace dialvault {

namespace {

constexpr qsizetype fetchBatch = 100;
constexpr qsizetype writeBatch = 64;

const QByteArray xmlType = QByteArrayLiteral("application/xml; charset=utf-8");
const QByteArray cardType = QByteArrayLiteral("text/vcard; charset=utf-8");

bool isSuccess(int status)
{
    return status >= 200 && status <= 299;
}

} // namespace

CardDavClient::CardDavClient(const AddressBookAccount &account, const Credentials &credentials,
                             DavLimits limits)
    : m_account(account)
    , m_transport(credentials, limits)
{ }

QUrl CardDavClient::urlOf(const QString &href) const
{
    QUrl url = m_account.url;
    url.setPath(href, QUrl::DecodedMode);
    return url;
}

QString CardDavClient::hrefOf(const QString &written) const
{
    return m_account.url.resolved(QUrl(written)).path(QUrl::FullyDecoded);
}

QString CardDavClient::newCardHref(const QString &uid) const
{
    return m_account.url.path(QUrl::FullyDecoded) + uid + QStringLiteral(".vcf");
}

SyncStatus CardDavClient::statusFailure(const DavReply &reply, bool collection) const
{
    if (!reply.failure.ok())
        return reply.failure;
    const QString detail = QStringLiteral("HTTP %1").arg(reply.status);
    if (reply.status == 401)
        return {SyncCause::WrongPassword, detail};
    if (reply.status == 403)
        return {SyncCause::Forbidden, detail};
    if (reply.status >= 500)
        return {SyncCause::ServerFailed, detail};
    if (collection && (reply.status == 404 || reply.status == 405 || reply.status == 501))
        return {SyncCause::NotAnAddressBook, detail};
    return {SyncCause::Garbage, detail};
}

SyncResult<QString> CardDavClient::discover()
{
    SyncResult<QString> result;
    const DavReply reply = m_transport.send({"PROPFIND",
                                             m_account.url,
                                             propfindCollectionBody(),
                                             {{"Depth", "0"}, {"Content-Type", xmlType}}});
    if (reply.status != 207) {
        // A web page or a file where a collection was meant.
        const SyncStatus failure = isSuccess(reply.status) && reply.failure.ok()
            ? SyncStatus{SyncCause::NotAnAddressBook, QStringLiteral("HTTP %1").arg(reply.status)}
            : statusFailure(reply, true);
        static_cast<SyncStatus &>(result) = failure;
        return result;
    }
    const QString collection = m_account.url.path(QUrl::FullyDecoded);
    bool found = false;
    bool addressBook = false;
    QString ignored;
    const bool read = readMultistatus(
        reply.body,
        [&](DavResponse &&response) {
            if (found || hrefOf(response.href) != collection)
                return;
            found = true;
            addressBook = response.addressBook;
            result.value = response.syncToken;
        },
        ignored);
    if (!read) {
        result.cause = SyncCause::Garbage;
        result.detail = QStringLiteral("PROPFIND");
    } else if (!found || !addressBook) {
        result.cause = SyncCause::NotAnAddressBook;
    }
    return result;
}

SyncResult<CardChanges> CardDavClient::report(const QString &token)
{
    SyncResult<CardChanges> result;
    const DavReply reply = m_transport.send({"REPORT",
                                             m_account.url,
                                             syncCollectionBody(token),
                                             {{"Depth", "0"}, {"Content-Type", xmlType}}});
    if (reply.status != 207) {
        static_cast<SyncStatus &>(result) = statusFailure(reply, true);
        return result;
    }
    const QString collection = m_account.url.path(QUrl::FullyDecoded);
    CardChanges &changes = result.value;
    const bool read = readMultistatus(
        reply.body,
        [&](DavResponse &&response) {
            const QString href = hrefOf(response.href);
            if (href == collection || response.collection)
                return;
            if (response.status == 404)
                changes.removed.append(href);
            else if (!response.etag.isEmpty())
                changes.changed.append({href, response.etag});
        },
        changes.token);
    if (!read || changes.token.isEmpty()) {
        result.cause = SyncCause::Garbage;
        result.detail = QStringLiteral("REPORT sync-collection");
    }
    changes.complete = token.isEmpty();
    return result;
}

SyncResult<CardChanges> CardDavClient::listing()
{
    SyncResult<CardChanges> result;
    const DavReply reply = m_transport.send({"PROPFIND",
                                             m_account.url,
                                             propfindMembersBody(),
                                             {{"Depth", "1"}, {"Content-Type", xmlType}}});
    if (reply.status != 207) {
        static_cast<SyncStatus &>(result) = statusFailure(reply, true);
        return result;
    }
    const QString collection = m_account.url.path(QUrl::FullyDecoded);
    QString ignored;
    const bool read = readMultistatus(
        reply.body,
        [&](DavResponse &&response) {
            const QString href = hrefOf(response.href);
            if (href != collection && !response.collection && !response.etag.isEmpty())
                result.value.changed.append({href, response.etag});
        },
        ignored);
    if (!read) {
        result.cause = SyncCause::Garbage;
        result.detail = QStringLiteral("PROPFIND");
    }
    result.value.complete = true;
    return result;
}

SyncResult<CardChanges> CardDavClient::changesSince(const QString &token, bool serverHasTokens)
{
    if (!serverHasTokens)
        return listing();
    SyncResult<CardChanges> changes = report(token);
    // A token the server has forgotten is refused with a 4xx (403 or 409
    // with valid-sync-token): every member is listed again instead.
    const auto refused = [](const SyncResult<CardChanges> &r) {
        return r.cause == SyncCause::Forbidden || r.cause == SyncCause::Garbage
            || r.cause == SyncCause::NotAnAddressBook;
    };
    if (!token.isEmpty() && refused(changes))
        changes = report(QString());
    if (refused(changes))
        changes = listing();
    return changes;
}

SyncStatus CardDavClient::fetch(
    const QStringList &hrefs,
    const std::function<void(const QString &, const QString &, const QByteArray &)> &visit)
{
    const qsizetype parallel = 4;
    for (qsizetype start = 0; start < hrefs.size(); start += fetchBatch * parallel) {
        QList<DavRequest> requests;
        QList<QStringList> asked;
        for (qsizetype at = start; at < std::min(hrefs.size(), start + fetchBatch * parallel);
             at += fetchBatch) {
            QStringList batch = hrefs.mid(at, fetchBatch);
            QStringList encoded;
            for (const QString &href : batch)
                encoded.append(urlOf(href).path(QUrl::FullyEncoded));
            requests.append({"REPORT",
                             m_account.url,
                             multigetBody(encoded),
                             {{"Depth", "1"}, {"Content-Type", xmlType}}});
            asked.append(std::move(batch));
        }
        const QList<DavReply> replies = m_transport.sendAll(requests);
        for (qsizetype i = 0; i < replies.size(); ++i) {
            const DavReply &reply = replies.at(i);
            if (reply.status != 207)
                return statusFailure(reply, true);
            QSet<QString> missing(asked.at(i).begin(), asked.at(i).end());
            QString ignored;
            const bool read = readMultistatus(
                reply.body,
                [&](DavResponse &&response) {
                    // The href asked for is handed on, not the one decoded
                    // from the answer: a sync keeps it, and one copy will do.
                    const auto asked = missing.constFind(hrefOf(response.href));
                    if (asked == missing.cend())
                        return;
                    const QString href = *asked;
                    missing.erase(asked);
                    if (response.status == 404 || response.addressData.isEmpty())
                        visit(href, QString(), QByteArray());
                    else
                        visit(href, response.etag, response.addressData);
                },
                ignored);
            if (!read)
                return {SyncCause::Garbage, QStringLiteral("addressbook-multiget")};
            for (const QString &href : std::as_const(missing))
                visit(href, QString(), QByteArray());
        }
    }
    return {};
}

QList<WriteResult> CardDavClient::write(const QList<CardWrite> &writes)
{
    QList<WriteResult> results;
    results.reserve(writes.size());
    for (qsizetype start = 0; start < writes.size(); start += writeBatch) {
        QList<DavRequest> requests;
        for (qsizetype at = start; at < std::min(writes.size(), start + writeBatch); ++at) {
            const CardWrite &write = writes.at(at);
            DavRequest request{write.card.isEmpty() ? "DELETE" : "PUT", urlOf(write.href),
                               write.card};
            if (write.etag.isEmpty())
                request.headers.append(qMakePair(QByteArray("If-None-Match"), QByteArray("*")));
            else
                request.headers.append(qMakePair(QByteArray("If-Match"), write.etag.toUtf8()));
            if (!write.card.isEmpty())
                request.headers.append(qMakePair(QByteArray("Content-Type"), cardType));
            requests.append(request);
        }
        for (const DavReply &reply : m_transport.sendAll(requests)) {
            WriteResult result;
            result.etag = QString::fromUtf8(reply.etag);
            if (isSuccess(reply.status) && reply.failure.ok())
                result.outcome = WriteOutcome::Done;
            else if (reply.status == 412)
                result.outcome = WriteOutcome::Conflict;
            else if (reply.status == 404 || reply.status == 410)
                result.outcome = WriteOutcome::Gone;
            else
                result.failure = statusFailure(reply, false);
            results.append(result);
        }
    }
    return results;
}

} // namespace dialvault
