#include "cli/commands.h"
#include "cli/contactcommands.h"
#include "cli/jetfileimport.h"
#include "cli/phonebookfolder.h"
#include "interchange/contactsimport.h"
#include "interchange/transfertexts.h"
#include "place/storedsetting.h"

#include <QCoreApplication>
#include <QTextStream>

namespace dialvault {

int importCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (line.arguments.isEmpty()) {
        err << "dialvault: "
            << QCoreApplication::translate("Commands", "import دست کم به يک FILE نياز دارد")
            << "\n";
        return CommandMisused;
    }
    const std::unique_ptr<PhoneBook> opened
        = openCommandPhoneBook(line, err, EmptyFolder::GetsPhoneBook);
    if (!opened)
        return CommandFailed;
    PhoneBook &book = *opened;
    const qint64 sizeLimit = importLimitOf(storedSetting(importLimitSettingName, line.dataFolder));
    ImportCounts total;
    QStringList notes;
    bool everyFile = true;
    bool anyFile = false;
    for (const QString &path : line.arguments) {
        const FileImport taken = isJetFileName(path) ? importJetFile(book, path, sizeLimit)
                                                     : importContactsFile(book, path, sizeLimit);
        if (taken.refused) {
            err << "dialvault: " << refusedFileText(*taken.refused) << "\n";
        } else if (!taken.ok()) {
            err << "dialvault: " << notDoneText(path, taken.notStored, true) << "\n";
        } else {
            total += taken.counts;
            if (const QString note = fileNoteText(taken); !note.isEmpty())
                notes.append(note);
        }
        everyFile = everyFile && taken.ok();
        anyFile = anyFile || taken.ok();
        err.flush();
    }
    // A summary of nothing after every file was refused reads as a success.
    if (anyFile)
        out << importSummaryText(total, notes) << "\n";
    return everyFile ? CommandDone : CommandFailed;
}

} // namespace dialvault
