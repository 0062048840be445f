#include "cli/commandplace.h"
#include "cli/commands.h"
#include "cli/placecommands.h"
#include "cli/servercommands.h"
#include "place/restore.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace dialvault {

namespace {

QString refusal(FailureCause cause)
{
    switch (cause) {
    case FailureCause::NotADatabase:
        return QCoreApplication::translate("Commands", "اين پرونده دفترچه تلفن نيست");
    case FailureCause::Damaged:
        return QCoreApplication::translate("Commands", "اين پرونده آسيب ديده است");
    case FailureCause::NoTable:
    case FailureCause::MissingField:
        return QCoreApplication::translate("Commands", "اين پرونده دفترچه تلفن ديال والت نيست");
    case FailureCause::ForeignSchema:
        return QCoreApplication::translate("Commands",
                                           "اين پرونده چيزي دارد که دفترچه تلفن ديال والت ندارد");
    default:
        return QCoreApplication::translate("Commands", "اين پرونده به کار نمي آيد");
    }
}

} // namespace

int restoreCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (line.arguments.size() != 1) {
        err << "dialvault: " << oneFileText("restore") << "\n";
        return CommandMisused;
    }
    if (refusedOnServer(line, err, "restore"))
        return CommandFailed;
    const std::optional<PhoneBookPlace> place = commandPlace(line, err);
    if (!place)
        return CommandFailed;
    const QString file = line.arguments.first();
    const Result<QString> restored = restorePhoneBook(*place, file, QDateTime::currentDateTime());
    if (!restored.ok()) {
        err << "dialvault: "
            << QCoreApplication::translate("Commands", "%1 بازگردانده نشد؛ %2: %3")
                   .arg(file, refusal(restored.error.cause), restored.error.description)
            << "\n"
            << QCoreApplication::translate("Commands", "دفترچه تلفن تغيير نکرد.") << "\n";
        return CommandFailed;
    }
    out << QCoreApplication::translate("Commands", "بازگردانده شد: %1")
               .arg(QDir::toNativeSeparators(place->databasePath()))
        << "\n";
    if (!restored.value.isEmpty())
        out << QCoreApplication::translate("Commands", "دفترچه تلفن قبلي در %1 نگه داشته شد")
                   .arg(QDir::toNativeSeparators(restored.value))
            << "\n";
    return CommandDone;
}

} // namespace dialvault
