#pragma once

#include "sync/syncerror.h"

#include <QString>

namespace dialvault {

// A login and password found for a machine.
struct NetrcEntry
{
    QString login;
    QString password;
};

// The entry of ~/.netrc (at `path`) for `host`, as curl reads the file:
// "machine HOST", else "default"; `login` given: the entry for that login
// only. Found nothing: an empty password. A file others may read or write
// (any group or other permission) is refused (NetrcUnsafe), as is one that
// cannot be read.
SyncResult<NetrcEntry> netrcEntry(const QString &path, const QString &host, const QString &login);

} // namespace dialvault
