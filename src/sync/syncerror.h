#pragma once

#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// Why a sync failed, in terms a person can act on.
enum class SyncCause {
    None, // success
    NoAddressBook, // no address book is set
    InsecureAddress, // plain HTTP to another machine, not asked for
    PasswordInAddress, // the URL holds a password, which would be kept in plain text
    BadAddress, // not an http or https URL
    NoPassword, // none in the secret store, ~/.netrc or the environment
    NetrcUnsafe, // ~/.netrc can be read by others
    WrongPassword, // the server refused the user or the password
    Forbidden, // the user may not read or change the address book
    Unreachable, // no connection: name unknown, refused, network down
    Untrusted, // the server's certificate is not trusted
    TimedOut, // the server stopped answering
    DeadlinePassed, // the whole sync took longer than it may, or was stopped
    NotAnAddressBook, // the URL is something else, or nothing
    Garbage, // the server answered something that is no answer to the question
    ServerFailed, // the server reported a failure of its own (5xx)
    PhoneBookBusy, // entries kept changing here while the sync ran
    Store, // the phone book failed; see `store`
};

// The outcome of a step of a sync: its cause, and what the server or the
// store said, for whoever looks further (never a password).
struct SyncStatus
{
    SyncCause cause = SyncCause::None;
    QString detail = {};
    StoreError store = {};

    bool ok() const { return cause == SyncCause::None; }
};

template <typename T>
struct SyncResult : SyncStatus
{
    T value{};
};

// A failure of the phone book as a sync's failure.
inline SyncStatus storeSyncFailure(const Status &status)
{
    return {SyncCause::Store, status.error.description, status.error};
}

} // namespace dialvault
