#include "cli/servercommands.h"

#include "cli/commands.h"
#include "cli/phonebookfolder.h"
#include "cli/serverinit.h"
#include "interchange/transfertexts.h"
#include "store/phonebook.h"

#include <QTextStream>

namespace dialvault {

namespace {

std::optional<PhoneBookSource> requiredServer(const CommandLine &line, QTextStream &err,
                                              const char *command, int &exit)
{
    bool refused = false;
    std::optional<PhoneBookSource> server = commandServer(line, err, refused);
    exit = CommandFailed;
    if (!server && !refused) {
        err << "dialvault: " << command
            << " needs a server: --server URL, or DIALVAULT_SERVER\n"
               "Try 'dialvault --help'.\n";
        exit = CommandMisused;
    }
    return server;
}

} // namespace

int serverInitCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    int exit = CommandDone;
    if (!line.arguments.isEmpty()) {
        err << "dialvault: server-init takes no arguments\n";
        return CommandMisused;
    }
    const std::optional<PhoneBookSource> server = requiredServer(line, err, "server-init", exit);
    if (!server)
        return exit;
    const Language language = userLanguage();
    const std::unique_ptr<StoreEngine> engine = makeStoreEngine(*server);
    Result<ServerPreparation> prepared;
    prepared.error = engine->connect().error;
    if (prepared.ok())
        prepared = prepareServerPhoneBook(*engine);
    if (!prepared.ok()) {
        err << "dialvault: " << notOpenedText(*server, prepared.error, language) << "\n";
        return CommandFailed;
    }
    if (prepared.value.made.isEmpty())
        out << "The phone book on " << server->shownName()
            << " is complete: nothing was changed.\n";
    else
        out << "The phone book on " << server->shownName()
            << " is ready. Made: " << prepared.value.made.join(QStringLiteral(", ")) << ".\n";
    out << "\nThe rights each person of the office needs (put their role, or a group role "
           "they share, in place of office_user):\n\n"
        << serverGrants(prepared.value.schema, QStringLiteral("office_user"));
    return CommandDone;
}

int serverPushCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    int exit = CommandDone;
    if (!line.arguments.isEmpty()) {
        err << "dialvault: server-push takes no arguments\n";
        return CommandMisused;
    }
    const std::optional<PhoneBookSource> server = requiredServer(line, err, "server-push", exit);
    if (!server)
        return exit;
    const std::optional<QString> folder = commandPhoneBookFolder(line, err);
    if (!folder)
        return CommandFailed;
    const Language language = userLanguage();
    PhoneBook local(*folder);
    if (const Status opened = local.open(); !opened.ok()) {
        err << "dialvault: " << notOpenedText(local.source(), opened.error, language) << "\n";
        return CommandFailed;
    }
    PhoneBook remote(*server);
    if (const Status opened = remote.open(); !opened.ok()) {
        err << "dialvault: " << notOpenedText(remote.source(), opened.error, language) << "\n";
        return CommandFailed;
    }
    const Result<ImportCounts> pushed = remote.importPhoneBook(local);
    if (!pushed.ok()) {
        err << "dialvault: " << notDoneText(local.databasePath(), pushed.error, true, language)
            << "\n";
        return CommandFailed;
    }
    out << importSummaryText(pushed.value, language) << "\n";
    return CommandDone;
}

bool refusedOnServer(const CommandLine &line, QTextStream &err, const char *command)
{
    bool refused = false;
    const std::optional<PhoneBookSource> server = commandServer(line, err, refused);
    if (server)
        err << "dialvault: the phone book is on the server " << server->shownName() << ": "
            << command
            << " works on a local phone book only. Use the server's own tools: pg_dump "
               "--format=custom --table=test --table=test_count to keep a copy, pg_restore to "
               "put one back.\n";
    return server || refused;
}

} // namespace dialvault
