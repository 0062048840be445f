#pragma once

#include "jet/jetrow.h"
#include "store/storeerror.h"

#include <QList>
#include <QString>

namespace dialvault {

// Writes `rows` into a new phone book under a temporary name beside
// `target`, with the permission bits `mode`, flushed to the disk; returns
// the temporary file's path. Nothing is left behind on failure.
Result<QString> buildPhoneBookBeside(const QString &target, const QList<JetRow> &rows,
                                     unsigned mode);

// Writes `rows` into a new phone book at `newPath`, which appears whole or
// not at all; an existing file there is never replaced (JetDatabaseExists).
Status writeNewPhoneBook(const QString &newPath, const QList<JetRow> &rows);

} // namespace dialvault
