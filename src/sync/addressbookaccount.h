#pragma once

#include "sync/syncerror.h"

#include <QString>
#include <QUrl>

namespace dialvault {

// The names of the settings (beside `color code`) that hold the address
// book's URL, and whether plain HTTP to another machine is wanted.
inline const QString carddavSettingName = QStringLiteral("carddav");
inline const QString carddavHttpSettingName = QStringLiteral("carddav allow http");

// The address book collection that the phone book is synced with, and the
// user it is reached as (from the URL; else from ~/.netrc).
struct AddressBookAccount
{
    QUrl url; // the collection, its path ending in '/', without user or password
    QString user;

    // The host and path, as a person is shown them; never a password.
    QString shownName() const;
    // What the links in the phone book are kept under: the URL with the user,
    // so that two people syncing one server phone book keep theirs apart.
    QString bookKey() const;
};

// The account that `address` (the `carddav` setting or --carddav) names.
// HTTPS, or plain HTTP to this machine (loopback) or when `allowHttp`; a
// password in the URL is refused, as it would be kept in plain text.
SyncResult<AddressBookAccount> addressBookAccount(const QString &address, bool allowHttp);

} // namespace dialvault
