#include "cli/commandplace.h"
#include "cli/commands.h"
#include "cli/placecommands.h"
#include "cli/servercommands.h"
#include "place/restore.h"

#include <QDir>
#include <QTextStream>

namespace dialvault {

namespace {

QString refusal(FailureCause cause)
{
    switch (cause) {
    case FailureCause::NotADatabase:
        return QStringLiteral("it is not a phone book");
    case FailureCause::Damaged:
        return QStringLiteral("it is damaged");
    case FailureCause::NoTable:
    case FailureCause::MissingField:
        return QStringLiteral("it is no phone book of Dialvault's");
    case FailureCause::ForeignSchema:
        return QStringLiteral("it holds what a phone book of Dialvault's has not");
    default:
        return QStringLiteral("it could not be used");
    }
}

} // namespace

int restoreCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (line.arguments.size() != 1) {
        err << "dialvault: restore needs one FILE\n";
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
        err << "dialvault: " << file << " was not restored, " << refusal(restored.error.cause)
            << ": " << restored.error.description << "\n"
            << "The phone book is unchanged.\n";
        return CommandFailed;
    }
    out << "restored: " << QDir::toNativeSeparators(place->databasePath()) << "\n";
    if (!restored.value.isEmpty())
        out << "the previous phone book is kept as " << QDir::toNativeSeparators(restored.value)
            << "\n";
    return CommandDone;
}

} // namespace dialvault
