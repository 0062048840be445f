#pragma once

#include "interchange/importfilecheck.h"
#include "interchange/readresult.h"
#include "store/phonebook.h"
#include "store/storeerror.h"

#include <QString>

#include <optional>

namespace dialvault {

// What taking one file into the phone book came to: its counts, or the
// reason it was refused whole (`refused`, the file's own fault) or not
// stored (`notStored`, the phone book's); then nothing of it was stored.
struct FileImport
{
    QString path;
    ImportCounts counts;
    std::optional<ReadFailure> refused;
    StoreError notStored;
    // What the person is told besides the counts (see ReadTally).
    int skippedLines = 0;
    QString assumedEncoding;

    bool ok() const { return !refused && notStored.number == 0; }
};

// Reads a vCard or CSV file (ContactsReader) and adds its entries to `book`
// in one transaction as they are read, so that memory stays the same at any
// size; a fault found far into the file stores nothing. The cards or rows
// without a name or a number are counted with the store's own. A file
// refusedImportFile() refuses is not opened.
FileImport importContactsFile(PhoneBook &book, const QString &path,
                              qint64 sizeLimit = defaultImportLimit);

// True for the files that a drop imports: .vcf, .vcard and .csv, by name.
bool isContactsFileName(const QString &path);

} // namespace dialvault
