#pragma once

#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// Whether the file at `path`, which may come from anywhere, holds a phone
// book of ours that can be used as it is: its header claims no more pages
// than the file holds (checkPageCount), its schema is ours (checkSchema),
// and PRAGMA integrity_check passes. The file is read as it lies, never
// written, and nothing is written beside it. Refusals carry NotADatabase,
// Damaged, NoTable, MissingField or ForeignSchema.
Status checkPhoneBook(const QString &path);

// Whether the SQLite file at `path` holds as many bytes as its header says
// it has pages: a file cut short, or made to claim gigabytes it has not, is
// refused (Damaged) before anything reads or copies that many pages. A file
// that is no SQLite file passes, for SQLite to refuse.
Status checkPageCount(const QString &path);

} // namespace dialvault
