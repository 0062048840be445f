#include "cli/commandplace.h"
#include "cli/commands.h"
#include "cli/phonebookfolder.h"
#include "cli/placecommands.h"

#include <QDir>
#include <QTextStream>

namespace dialvault {

int whereCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (!line.arguments.isEmpty()) {
        err << "dialvault: where takes no arguments\n";
        return CommandMisused;
    }
    const std::optional<PhoneBookPlace> place = commandPlace(line, err);
    if (!place)
        return CommandFailed;
    bool refused = false;
    if (const std::optional<PhoneBookSource> server = commandServer(line, err, refused)) {
        out << "phone book: server " << server->shownName() << "\n";
    } else if (refused) {
        return CommandFailed;
    } else {
        out << "phone book: " << QDir::toNativeSeparators(place->databasePath()) << "\n"
            << "backups: " << QDir::toNativeSeparators(place->backupFolder()) << "\n";
    }
    out << "settings: " << QDir::toNativeSeparators(place->settingsLocation()) << "\n";
    return CommandDone;
}

} // namespace dialvault
