#pragma once

#include "interchange/readresult.h"

#include <QByteArray>
#include <QString>

namespace dialvault {

// Reads a vCard or CSV contacts file, choosing the format by its content: a
// file whose first line is BEGIN:VCARD is a vCard file, one whose first line
// is a header row naming a name or a number column is CSV, and anything else
// is refused. Text is UTF-8 with or without its byte order mark, UTF-16 with
// one, or Windows-1256 when the bytes are not UTF-8; bytes that are not text
// refuse the file, never replaced. A refused file gives no entries at all,
// and its failure names `path` as given.
ReadResult readContactsFile(const QString &path);

// The same for a file's bytes already in memory; `fileName` goes into a failure.
ReadResult readContacts(const QByteArray &bytes, const QString &fileName);

} // namespace dialvault
