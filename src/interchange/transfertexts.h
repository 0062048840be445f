#pragma once

#include "interchange/contactsimport.h"
#include "interchange/readresult.h"
#include "store/phonebook.h"
#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// What the program says about contacts files, in the language in use.

// "12 شماره اضافه شد، …", then what each file's note says.
QString importSummaryText(const ImportCounts &counts, const QStringList &fileNotes = {});
// What reading an imported file assumed or passed over, for the summary:
// the code page it was read in, when it did not say and was not UTF-8, and
// the lines skipped. Empty when there is nothing to say.
QString fileNoteText(const FileImport &taken);
// A refused file: its name, its line (when known) and the reason.
QString refusedFileText(const ReadFailure &failure);
// Something the phone book could not do with a file (store it, read it,
// write it), with the cause in the person's words and the engine's own.
QString notDoneText(const QString &path, const StoreError &error, bool reading);
// "1000 شماره در پرونده FILE نوشته شد."
QString exportedText(qint64 count, const QString &path);
// "دفترچه تلفن تازه و خالي در پوشه FOLDER ساخته شد." for a folder named by
// --data-dir that held none.
QString newPhoneBookText(const QString &folder);
// The phone book at `path` could not be opened.
QString notOpenedText(const QString &path, const StoreError &error);
// The phone book on a file or a server could not be opened (or read).
QString notOpenedText(const PhoneBookSource &source, const StoreError &error);

} // namespace dialvault
