#pragma once

#include "interchange/readresult.h"

#include <QByteArray>
#include <QString>

namespace dialvault {

// Reads a vCard or CSV contacts file, choosing the format by its content: a
// file whose first line (comment lines aside) is BEGIN:VCARD is a vCard
// file, one whose first line is a header row naming a name or a telephone
// column is CSV, and anything else is refused; an empty or blank file holds
// no entries. Text is UTF-8 with or without its byte order mark, UTF-16 with
// or without one, or, when the bytes are not UTF-8, the code page they look
// like (guessEncoding(); for CSV, the one in which the header row names the
// most known columns), which the result names. Bytes that are not text
// refuse the file, never replaced. A refused file gives no entries at all,
// and its failure names `path` as given.
ReadResult readContactsFile(const QString &path);

// The same for a file's bytes already in memory; `fileName` goes into a failure.
ReadResult readContacts(const QByteArray &bytes, const QString &fileName);

} // namespace dialvault
