#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace dialvault {

// One <response> of a WebDAV multistatus answer, as far as a sync needs it.
struct DavResponse
{
    QString href; // as the server wrote it, percent-encoded
    int status = 0; // the response's own status (a removed member's 404), 0 when none
    int propStatus = 0; // the status of the properties that were found
    QString etag;
    QByteArray addressData; // the card, from an addressbook-multiget
    bool collection = false;
    bool addressBook = false;
    QString syncToken; // DAV:sync-token as a property of the collection
};

// Reads a multistatus document, handing each response to `visit`; the
// sync-token at its end (a sync-collection REPORT's) goes to `syncToken`.
// False for anything that is no multistatus document.
bool readMultistatus(const QByteArray &xml, const std::function<void(DavResponse &&)> &visit,
                     QString &syncToken);

// The request bodies.
QByteArray propfindCollectionBody(); // resourcetype and sync-token of the collection
QByteArray propfindMembersBody(); // resourcetype and getetag of each member
QByteArray syncCollectionBody(const QString &token); // the changes since `token` (all for none)
QByteArray multigetBody(const QStringList &hrefs); // getetag and address-data of each

} // namespace dialvault
