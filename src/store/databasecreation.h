#pragma once

#include "store/contactentry.h"
#include "store/storeerror.h"

#include <QList>
#include <QString>

namespace dialvault {

// Makes an empty contact database at `path` unless a file is already there;
// an existing file is never touched. The value tells whether one was made.
// The file appears whole or not at all.
Result<bool> createDatabaseIfMissing(const QString &path);

// Fills the empty file at `path` with a phone book of our own holding
// `entries` in the given order, values exact (NULL stays NULL): exactly the
// file the program makes and then fills. The file is meant to be a
// temporary one that is thrown away on failure and renamed into place once
// whole: it is written without a journal.
Status fillNewPhoneBook(const QString &path, const QList<ExactEntry> &entries);

} // namespace dialvault
