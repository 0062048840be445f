#pragma once

#include "store/contactentry.h"
#include "store/sqliteconnection.h"
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

// Fills the empty file at `path` as fillNewPhoneBook does, with the four
// fields of every entry of table `test` in the file at `source`, in their
// order: nothing else of the source comes along (no column, index, trigger
// or view of its own), and none of its code runs, since the rows are read
// without its indexes and written into our own table. The source is opened
// for `sourceUse`: Inspecting for a file from elsewhere, Writing for the
// phone book itself, so that what a program that crashed left half-written
// is rolled back first. Refusals: NoTable, a view `test` (ForeignSchema),
// MissingField.
Status rebuildPhoneBook(const QString &path, const QString &source, SqliteUse sourceUse);

} // namespace dialvault
