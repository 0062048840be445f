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
// it has pages, on the disk: a file cut short, or made to claim gigabytes it
// has not (a sparse file, long but nearly empty), is refused (Damaged) before
// anything reads or copies that many pages; so is anything but a regular
// file (NotADatabase), which would be read without end. A missing file, or
// one that is no SQLite file, passes, for SQLite to refuse.
Status checkPageCount(const QString &path);

} // namespace dialvault
