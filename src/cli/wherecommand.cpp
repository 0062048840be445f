#include "cli/commandplace.h"
#include "cli/commands.h"
#include "cli/phonebookfolder.h"
#include "cli/placecommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace dialvault {

int whereCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (!line.arguments.isEmpty()) {
        err << "dialvault: " << noArgumentsText("where") << "\n";
        return CommandMisused;
    }
    const std::optional<PhoneBookPlace> place = commandPlace(line, err);
    if (!place)
        return CommandFailed;
    bool refused = false;
    if (const std::optional<PhoneBookSource> server = commandServer(line, err, refused)) {
        out << QCoreApplication::translate("Commands", "دفترچه تلفن: سرور %1")
                   .arg(server->shownName())
            << "\n";
    } else if (refused) {
        return CommandFailed;
    } else {
        out << QCoreApplication::translate("Commands", "دفترچه تلفن: %1")
                   .arg(QDir::toNativeSeparators(place->databasePath()))
            << "\n"
            << QCoreApplication::translate("Commands", "پشتيبان ها: %1")
                   .arg(QDir::toNativeSeparators(place->backupFolder()))
            << "\n";
    }
    out << QCoreApplication::translate("Commands", "تنظيمات: %1")
               .arg(QDir::toNativeSeparators(place->settingsLocation()))
        << "\n";
    return CommandDone;
}

} // namespace dialvault
