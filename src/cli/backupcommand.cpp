#include "cli/commandplace.h"
#include "cli/commands.h"
#include "cli/placecommands.h"
#include "cli/servercommands.h"
#include "place/backups.h"

#include <QDir>
#include <QTextStream>

namespace dialvault {

int backupCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (!line.arguments.isEmpty()) {
        err << "dialvault: backup takes no arguments\n";
        return CommandMisused;
    }
    if (refusedOnServer(line, err, "backup"))
        return CommandFailed;
    const std::optional<PhoneBookPlace> place = commandPlace(line, err);
    if (!place)
        return CommandFailed;
    const Result<QString> made
        = backups::make(place->databasePath(), place->backupFolder(), QDateTime::currentDateTime());
    if (!made.ok()) {
        err << "dialvault: no backup of " << QDir::toNativeSeparators(place->databasePath())
            << " was made: " << made.error.description << "\n";
        return CommandFailed;
    }
    out << "backup: " << QDir::toNativeSeparators(made.value) << "\n";
    return CommandDone;
}

} // namespace dialvault
