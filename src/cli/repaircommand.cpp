#include "cli/commandplace.h"
#include "cli/commands.h"
#include "cli/placecommands.h"
#include "cli/servercommands.h"
#include "place/repair.h"

#include <QDir>
#include <QTextStream>

namespace dialvault {

int repairCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (!line.arguments.isEmpty()) {
        err << "dialvault: repair takes no arguments\n";
        return CommandMisused;
    }
    if (refusedOnServer(line, err, "repair"))
        return CommandFailed;
    const std::optional<PhoneBookPlace> place = commandPlace(line, err);
    if (!place)
        return CommandFailed;
    const QString database = place->databasePath();
    const Result<QString> repaired
        = repairPhoneBook(database, place->backupFolder(), QDateTime::currentDateTime());
    if (!repaired.ok()) {
        err << "dialvault: " << QDir::toNativeSeparators(database)
            << " was not repaired: " << repaired.error.description << " (error "
            << repaired.error.number << ")\n"
            << "The phone book is unchanged.\n";
        return CommandFailed;
    }
    out << "repaired: " << QDir::toNativeSeparators(database) << "\n"
        << "the file as it was is kept as " << QDir::toNativeSeparators(repaired.value) << "\n";
    return CommandDone;
}

} // namespace dialvault
