#pragma once

#include "sync/addressbookaccount.h"
#include "sync/passwordsource.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace dialvault {

// The private Radicale that CTest starts before the tests of the address
// book sync and removes after them (tools/radicaletest.sh), and the address
// books made on it; each test program makes books of its own names.
class TestRadicale
{
public:
    // The server, or nothing when CTest did not start it.
    static std::optional<TestRadicale> find();

    // A new, empty address book; its name.
    QString book() const;
    QString url(const QString &book) const;
    AddressBookAccount account(const QString &book) const;
    Credentials credentials() const { return {m_user, m_password}; }

    // A request of our own, outside the code under test: its status.
    int request(const QByteArray &method, const QString &book, const QString &file,
                const QByteArray &body = {}, const QByteArray &ifMatch = {}) const;
    int put(const QString &book, const QString &file, const QByteArray &card) const
    {
        return request("PUT", book, file, card);
    }

    // The cards as Radicale keeps them, unfolded, by file name.
    QMap<QString, QString> cards(const QString &book) const;
    QString storage(const QString &book) const;

    // Ended with SIGKILL, as a crash would; started again on the same port.
    bool kill() const;
    bool start() const;

private:
    static bool script(const QStringList &arguments);

    QString m_dir = QStringLiteral(DIALVAULT_RADICALE_DIR);
    int m_port = 0;
    QString m_user;
    QString m_password;
};

// The one password a test hands the sync.
class FixedPassword : public PasswordSource
{
public:
    explicit FixedPassword(Credentials credentials)
        : m_credentials(std::move(credentials))
    { }
    SyncResult<Credentials> credentials(const AddressBookAccount &) override
    {
        return {{}, m_credentials};
    }

private:
    Credentials m_credentials;
};

} // namespace dialvault
