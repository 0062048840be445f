#include "interchange/contactsimport.h"

#include "interchange/contactsfile.h"

namespace dialvault {

QList<ContactEntry> entriesToStore(const QList<ImportedEntry> &entries)
{
    QList<ContactEntry> stored;
    stored.reserve(entries.size());
    for (const ImportedEntry &entry : entries)
        stored.append(ContactEntry{entry.name, entry.phone, entry.note, 0});
    return stored;
}

FileImport importContactsFile(PhoneBook &book, const QString &path, qint64 sizeLimit)
{
    FileImport outcome;
    outcome.path = path;
    if (outcome.refused = refusedImportFile(path, sizeLimit); outcome.refused)
        return outcome;
    const ReadResult read = readContactsFile(path);
    if (read.failure) {
        outcome.refused = read.failure;
        return outcome;
    }
    const Result<ImportCounts> imported = book.importEntries(entriesToStore(read.entries));
    if (!imported.ok()) {
        outcome.notStored = imported.error;
        return outcome;
    }
    outcome.counts = imported.value;
    outcome.counts.withoutNameOrNumber += read.withoutNameOrNumber;
    outcome.skippedLines = read.skippedLines;
    outcome.assumedEncoding = read.assumedEncoding;
    return outcome;
}

bool isContactsFileName(const QString &path)
{
    for (const char *suffix : {".vcf", ".vcard", ".csv"}) {
        if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace dialvault
