#include "cli/commands.h"

#include "cli/contactcommands.h"
#include "cli/placecommands.h"
#include "cli/servercommands.h"
#include "jet/importjetcommand.h"

#include <QCoreApplication>
#include <QTextStream>

namespace dialvault {

namespace {

const char usage[] = R"(Usage: dialvault [OPTIONS] [COMMAND [ARGUMENTS]]

With no command, Dialvault opens its windows.

Options:
  --data-dir DIR   keep the phone book in DIR (also DIALVAULT_DATA_DIR)
  --server URL     use the phone book on a PostgreSQL server, a libpq URL such
                   as postgresql://user@host:5432/office?sslmode=require (also
                   DIALVAULT_SERVER, or the setting "server"); passwords come
                   from ~/.pgpass, PGPASSWORD or a service file

Commands:
  --import-jet OLD.mdb NEW.mdb
                   carry a phone book kept in a Jet (Access) file over into a
                   new phone book of Dialvault's own
  where            show where the phone book, its backups and the settings are
  backup           make a backup of the phone book now
  restore FILE     put the phone book kept in FILE (a backup) in place of the
                   current one, which is kept as a backup
  repair           copy the name, number, note and row number of every entry
                   into a phone book made afresh, for a phone book refused
                   for holding something of another program's; the file as
                   it was is kept as a backup
  import FILE...   add the entries of vCard (.vcf), CSV (.csv) and Jet (.mdb)
                   files to the phone book, each file whole or not at all;
                   entries already there are skipped
  export FILE      write every entry to FILE: vCard 3.0 for .vcf, CSV for
                   .csv, or --format vcard3, vcard4 or csv
  find TEXT        show the entries whose name or number holds TEXT (a text
                   of digits looks at numbers), one a line: name, number and
                   the note's first line; with --start only those that start
                   with it. Exit status 0 when one matches, 1 when none does
  server-init      make the phone book on the server (or complete or check
                   it) and show the rights each person needs
  server-push      copy the local phone book to the server in one
                   transaction; entries already there are skipped
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
    if (line.command == QLatin1String("where"))
        return whereCommand(line, out, err);
    if (line.command == QLatin1String("backup"))
        return backupCommand(line, out, err);
    if (line.command == QLatin1String("restore"))
        return restoreCommand(line, out, err);
    if (line.command == QLatin1String("repair"))
        return repairCommand(line, out, err);
    if (line.command == QLatin1String("import"))
        return importCommand(line, out, err);
    if (line.command == QLatin1String("export"))
        return exportCommand(line, out, err);
    if (line.command == QLatin1String("find"))
        return findCommand(line, out, err);
    if (line.command == QLatin1String("server-init"))
        return serverInitCommand(line, out, err);
    if (line.command == QLatin1String("server-push"))
        return serverPushCommand(line, out, err);
    return misused(err, QStringLiteral("unknown command '%1'").arg(line.command));
}

} // namespace dialvault
