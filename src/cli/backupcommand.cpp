#include "cli/commandplace.h"
#include "cli/commands.h"
#include "cli/placecommands.h"
#include "cli/servercommands.h"
#include "place/backups.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace dialvault {

int backupCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (!line.arguments.isEmpty()) {
        err << "dialvault: " << noArgumentsText("backup") << "\n";
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
        err << "dialvault: "
            << QCoreApplication::translate("Commands", "از %1 پشتيباني ساخته نشد: %2")
                   .arg(QDir::toNativeSeparators(place->databasePath()), made.error.description)
            << "\n";
        return CommandFailed;
    }
    out << QCoreApplication::translate("Commands", "پشتيبان: %1")
               .arg(QDir::toNativeSeparators(made.value))
        << "\n";
    return CommandDone;
}

} // namespace dialvault
