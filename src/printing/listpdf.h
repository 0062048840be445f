#pragma once

#include "printing/printedlist.h"
#include "store/storeerror.h"

#include <QString>

#include <atomic>

namespace dialvault {

// The printout of `rows` as an A4 PDF file at `path`, written page by page.
// The file appears whole or not at all: it is written beside and put in
// place at the end, and a file that was there is left as it was when
// anything fails or `stop` is set (a device or pipe, such as /dev/stdout, is
// written to as it goes). The number of entries written.
Result<qint64> writeListPdf(const QString &path, const PrintedRows &rows,
                            const PrintedHeading &heading, const std::atomic<bool> *stop = nullptr);

// Whether `path` names a PDF file, by its extension.
bool isPdfPath(const QString &path);

} // namespace dialvault
