#include "sync/passwordsource.h"

#include "sync/netrc.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace dialvault {

namespace {

// How long the secret store may take to answer (it may ask the person to
// unlock it): past this the next source is asked.
constexpr int keychainDeadlineMs = 20000;

QString keychainPassword(const QString &key)
{
    // The Secret Service is reached over the session bus: without one no
    // store runs, and asking would only wait.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return {};
    QKeychain::ReadPasswordJob job(QStringLiteral("Dialvault"));
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    job.setKey(key);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&]() {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(keychainDeadlineMs, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (!finished || job.error() != QKeychain::NoError)
        return {};
    return job.textData();
}

} // namespace

PasswordSource::~PasswordSource() = default;

QString SystemPasswords::keychainKey(const AddressBookAccount &account)
{
    return QStringLiteral("carddav %1@%2").arg(account.user, account.url.host());
}

SyncResult<Credentials> SystemPasswords::credentials(const AddressBookAccount &account)
{
    SyncResult<Credentials> result;
    result.value.user = account.user;
    if (!account.user.isEmpty()) {
        result.value.password = keychainPassword(keychainKey(account));
        if (!result.value.password.isEmpty())
            return result;
    }
    const SyncResult<NetrcEntry> netrc = netrcEntry(QDir::homePath() + QStringLiteral("/.netrc"),
                                                    account.url.host(), account.user);
    if (!netrc.ok()) {
        result.cause = netrc.cause;
        result.detail = netrc.detail;
        return result;
    }
    if (!netrc.value.password.isEmpty()) {
        if (result.value.user.isEmpty())
            result.value.user = netrc.value.login;
        result.value.password = netrc.value.password;
        return result;
    }
    result.value.password = qEnvironmentVariable("DIALVAULT_CARDDAV_PASSWORD");
    if (result.value.password.isEmpty() || result.value.user.isEmpty())
        result.cause = SyncCause::NoPassword;
    return result;
}

} // namespace dialvault
