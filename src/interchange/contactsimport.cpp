#include "interchange/contactsimport.h"

#include "interchange/contactsfile.h"

namespace dialvault {

namespace {

// The file's entries as the store takes them.
class FileEntries : public EntrySource
{
public:
    explicit FileEntries(ContactsReader &reader)
        : m_reader(reader)
    { }

    bool next(ContactEntry &entry) override
    {
        if (!m_reader.next(m_read))
            return false;
        entry.name = std::move(m_read.name);
        entry.phone = std::move(m_read.phone);
        entry.note = std::move(m_read.note);
        entry.rowNumber = 0;
        return true;
    }
    bool failed() const override { return m_reader.tally().failure.has_value(); }

private:
    ContactsReader &m_reader;
    ImportedEntry m_read;
};

} // namespace

FileImport importContactsFile(PhoneBook &book, const QString &path, qint64 sizeLimit)
{
    FileImport outcome;
    outcome.path = path;
    if (outcome.refused = refusedImportFile(path, sizeLimit); outcome.refused)
        return outcome;
    ContactsReader reader(path);
    // A file refused before its first entry never reaches the phone book.
    if (!reader.start()) {
        outcome.refused = reader.tally().failure;
        return outcome;
    }
    FileEntries entries(reader);
    const Result<ImportCounts> imported = book.importEntries(entries);
    if (const ReadTally &read = reader.tally(); read.failure) {
        outcome.refused = read.failure;
        return outcome;
    }
    if (!imported.ok()) {
        outcome.notStored = imported.error;
        return outcome;
    }
    const ReadTally &read = reader.tally();
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
