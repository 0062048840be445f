#pragma once

#include "sync/addressbookaccount.h"
#include "sync/syncerror.h"

#include <QString>

namespace dialvault {

// The user and password an address book is reached with.
struct Credentials
{
    QString user;
    QString password;
};

// Where the password of an address book comes from; tests hand in their own.
class PasswordSource
{
public:
    virtual ~PasswordSource();
    virtual SyncResult<Credentials> credentials(const AddressBookAccount &account) = 0;
};

// The password from the desktop's secret store, when one runs (service
// "Dialvault", key "carddav USER@HOST"); else from ~/.netrc, readable by
// its owner alone; else from the environment variable
// DIALVAULT_CARDDAV_PASSWORD. Nothing is ever stored or shown by us.
class SystemPasswords : public PasswordSource
{
public:
    SyncResult<Credentials> credentials(const AddressBookAccount &account) override;

    // The secret store's key for the account.
    static QString keychainKey(const AddressBookAccount &account);
};

} // namespace dialvault
