#pragma once

#include "store/phonebook.h"
#include "store/storeerror.h"

#include <QString>

#include <optional>

namespace dialvault {

enum class ExportFormat { VCard3, VCard4, Csv };

// A format by its name on the command line: vcard3, vcard4 or csv.
std::optional<ExportFormat> exportFormatNamed(const QString &name);
// A format by a file's extension: .vcf and .vcard are vCard 3.0, .csv is CSV.
std::optional<ExportFormat> exportFormatOfPath(const QString &path);

// Writes every entry of `book`, in stored order, to the file at `path` as it
// reads them, so memory stays flat at any size. The file appears whole or not
// at all: it is written beside and put in place at the end, and a file that
// was there is left as it was when anything fails (a device or pipe, such as
// /dev/stdout, is written to as it goes). The value is the number of entries
// written.
Result<qint64> exportPhoneBook(PhoneBook &book, const QString &path, ExportFormat format);

} // namespace dialvault
