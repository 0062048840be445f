#include "cli/commands.h"

#include "jet/importjetcommand.h"

#include <QCoreApplication>
#include <QTextStream>

namespace dialvault {

namespace {

const char usage[] = R"(Usage: dialvault [OPTIONS] [COMMAND [ARGUMENTS]]

With no command, Dialvault opens its windows.

Commands:
  --import-jet OLD.mdb NEW.mdb
                   carry a phone book kept in a Jet (Access) file over into a
                   new phone book of Dialvault's own
  --help           show this text
  --version        show the program's version
)";

int misused(QTextStream &err, const QString &why)
{
    err << "dialvault: " << why << "\n"
        << "Try 'dialvault --help'.\n";
    return CommandMisused;
}

} // namespace

int runCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (!line.error.isEmpty())
        return misused(err, line.error);
    if (line.command == QLatin1String("help")) {
        out << usage;
        return CommandDone;
    }
    if (line.command == QLatin1String("version")) {
        out << "Dialvault " << QCoreApplication::applicationVersion() << "\n";
        return CommandDone;
    }
    if (line.command == QLatin1String("import-jet")) {
        if (line.arguments.size() != 2)
            return misused(err, QStringLiteral("--import-jet needs OLD.mdb and NEW.mdb"));
        return importJetCommand(line.arguments.at(0), line.arguments.at(1), out, err);
    }
    return misused(err, QStringLiteral("unknown command '%1'").arg(line.command));
}

} // namespace dialvault
