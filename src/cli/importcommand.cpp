#include "cli/commands.h"
#include "cli/contactcommands.h"
#include "cli/jetfileimport.h"
#include "cli/phonebookfolder.h"
#include "interchange/contactsimport.h"
#include "interchange/transfertexts.h"

#include <QTextStream>

namespace dialvault {

int importCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (line.arguments.isEmpty()) {
        err << "dialvault: import needs at least one FILE\n";
        return CommandMisused;
    }
    const std::unique_ptr<PhoneBook> opened
        = openCommandPhoneBook(line, err, EmptyFolder::GetsPhoneBook);
    if (!opened)
        return CommandFailed;
    PhoneBook &book = *opened;
    const Language language = userLanguage();
    ImportCounts total;
    QStringList notes;
    bool everyFile = true;
    for (const QString &path : line.arguments) {
        const FileImport taken
            = isJetFileName(path) ? importJetFile(book, path) : importContactsFile(book, path);
        if (taken.refused) {
            err << "dialvault: " << refusedFileText(*taken.refused, language) << "\n";
        } else if (!taken.ok()) {
            err << "dialvault: " << notDoneText(path, taken.notStored, true, language) << "\n";
        } else {
            total += taken.counts;
            if (const QString note = fileNoteText(taken, language); !note.isEmpty())
                notes.append(note);
        }
        everyFile = everyFile && taken.ok();
        err.flush();
    }
    out << importSummaryText(total, language, notes) << "\n";
    return everyFile ? CommandDone : CommandFailed;
}

} // namespace dialvault
