#pragma once

#include "interchange/contactsimport.h"
#include "store/phonebook.h"

#include <QString>

namespace dialvault {

// True for a file that the import takes as a Jet (Access) phone book, by
// its name: .mdb or .accdb.
bool isJetFileName(const QString &path);

// Adds the rows of table `test` of the Jet file at `path` to `book`, as an
// import of a contacts file does (NULL as empty text, the file's row numbers
// not used). A file refusedImportFile() refuses is not opened. Same
// precondition as readJetTable: the process has one thread.
FileImport importJetFile(PhoneBook &book, const QString &path, qint64 sizeLimit);

} // namespace dialvault
