#pragma once

#include "store/storeerror.h"

#include <QDateTime>
#include <QString>

namespace dialvault {

// The way out for a phone book the program refuses as it is (something of
// another program's in it, see checkSchema): the four fields of every entry
// of the file at `database` go, in their order, into a phone book made
// afresh, which then takes the file's place in one step. The file as it was
// is kept first, byte for byte, in `backupFolder` under a backup's name; its
// path is returned. Nothing of the file runs; on failure it stays as it was.
Result<QString> repairPhoneBook(const QString &database, const QString &backupFolder,
                                const QDateTime &now);

} // namespace dialvault
