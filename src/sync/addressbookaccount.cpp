#include "sync/addressbookaccount.h"

#include <QHostAddress>

namespace dialvault {

namespace {

bool isLoopback(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

QString AddressBookAccount::shownName() const
{
    return url.toString(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment);
}

QString AddressBookAccount::bookKey() const
{
    QUrl keyed = url;
    keyed.setUserName(user);
    return keyed.toString(QUrl::RemovePassword | QUrl::RemoveFragment);
}

SyncResult<AddressBookAccount> addressBookAccount(const QString &address, bool allowHttp)
{
    SyncResult<AddressBookAccount> result;
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) {
        result.cause = SyncCause::NoAddressBook;
        return result;
    }
    QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty()
        || (scheme != QLatin1String("https") && scheme != QLatin1String("http"))) {
        result.cause = SyncCause::BadAddress;
        return result;
    }
    if (!url.password().isEmpty()) {
        result.cause = SyncCause::PasswordInAddress;
        return result;
    }
    if (scheme == QLatin1String("http") && !allowHttp && !isLoopback(url.host())) {
        result.cause = SyncCause::InsecureAddress;
        result.detail = url.host();
        return result;
    }
    result.value.user = url.userName();
    url.setUserInfo({});
    url.setFragment({});
    // A collection's path ends in '/': without it servers answer with a
    // redirect, which a PROPFIND may not follow.
    if (!url.path().endsWith(u'/'))
        url.setPath(url.path() + u'/');
    result.value.url = url;
    return result;
}

} // namespace dialvault
