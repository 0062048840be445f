#pragma once

#include "interchange/contactsimport.h"
#include "interchange/readresult.h"
#include "store/phonebook.h"
#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// The language of what the program says about contacts files: the windows
// speak Persian; the command line speaks the user's language where a
// Persian text exists, else plain English.
enum class Language { English, Persian };

// Persian when the user's locale is.
Language userLanguage();

// "12 added, 3 duplicates skipped, 1 without name or number", then what
// each file's note says: "…; old.csv: read as Windows-1252, 2 lines skipped".
QString importSummaryText(const ImportCounts &counts, Language language,
                          const QStringList &fileNotes = {});
// What reading an imported file assumed or passed over, for the summary:
// the code page it was read in, when it did not say and was not UTF-8, and
// the lines skipped. Empty when there is nothing to say.
QString fileNoteText(const FileImport &taken, Language language);
// A refused file: its name, its line (when known) and the reason.
QString refusedFileText(const ReadFailure &failure, Language language);
// Something the phone book could not do with a file (store it, read it,
// write it), with the cause in the person's words and the engine's own.
QString notDoneText(const QString &path, const StoreError &error, bool reading, Language language);
// "1000 entries written to FILE".
QString exportedText(qint64 count, const QString &path, Language language);
// A new empty phone book was made in `folder`, named by --data-dir.
QString newPhoneBookText(const QString &folder, Language language);
// The phone book at `path` could not be opened.
QString notOpenedText(const QString &path, const StoreError &error, Language language);
// The phone book on a file or a server could not be opened (or read).
QString notOpenedText(const PhoneBookSource &source, const StoreError &error, Language language);

} // namespace dialvault
