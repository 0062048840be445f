#include "cli/jetfileimport.h"

#include "jet/jetreader.h"

namespace dialvault {

bool isJetFileName(const QString &path)
{
    return path.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".accdb"), Qt::CaseInsensitive);
}

FileImport importJetFile(PhoneBook &book, const QString &path, qint64 sizeLimit)
{
    FileImport outcome;
    outcome.path = path;
    if (outcome.refused = refusedImportFile(path, sizeLimit); outcome.refused)
        return outcome;
    const Result<QList<JetRow>> rows = readJetTable(path);
    if (!rows.ok()) {
        outcome.notStored = rows.error;
        return outcome;
    }
    QList<ContactEntry> entries;
    entries.reserve(rows.value.size());
    for (const JetRow &row : rows.value) {
        // An import stores text; a NULL of the old file is the empty text.
        entries.append(ContactEntry{row.name.isNull() ? QStringLiteral("") : row.name,
                                    row.phone.isNull() ? QStringLiteral("") : row.phone,
                                    row.note.isNull() ? QStringLiteral("") : row.note, 0});
    }
    const Result<ImportCounts> imported = book.importEntries(entries);
    if (!imported.ok())
        outcome.notStored = imported.error;
    else
        outcome.counts = imported.value;
    return outcome;
}

} // namespace dialvault
