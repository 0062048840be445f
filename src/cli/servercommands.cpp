#include "cli/servercommands.h"

#include "cli/commands.h"
#include "cli/phonebookfolder.h"
#include "cli/serverinit.h"
#include "interchange/transfertexts.h"
#include "store/phonebook.h"

#include <QCoreApplication>
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
        err << "dialvault: "
            << QCoreApplication::translate(
                   "Commands", "%1 به يک سرور نياز دارد: --server URL، يا DIALVAULT_SERVER")
                   .arg(QLatin1String(command))
            << "\n"
            << tryHelpText() << "\n";
        exit = CommandMisused;
    }
    return server;
}

} // namespace

int serverInitCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    int exit = CommandDone;
    if (!line.arguments.isEmpty()) {
        err << "dialvault: " << noArgumentsText("server-init") << "\n";
        return CommandMisused;
    }
    const std::optional<PhoneBookSource> server = requiredServer(line, err, "server-init", exit);
    if (!server)
        return exit;
    const std::unique_ptr<StoreEngine> engine = makeStoreEngine(*server);
    Result<ServerPreparation> prepared;
    prepared.error = engine->connect().error;
    if (prepared.ok())
        prepared = prepareServerPhoneBook(*engine);
    if (!prepared.ok()) {
        err << "dialvault: " << notOpenedText(*server, prepared.error) << "\n";
        return CommandFailed;
    }
    if (prepared.value.made.isEmpty())
        out << QCoreApplication::translate("Commands",
                                           "دفترچه تلفن روي %1 کامل است: چيزي تغيير نکرد.")
                   .arg(server->shownName())
            << "\n";
    else
        out << QCoreApplication::translate("Commands",
                                           "دفترچه تلفن روي %1 آماده است. ساخته شد: %2.")
                   .arg(server->shownName(), prepared.value.made.join(QStringLiteral(", ")))
            << "\n";
    out << "\n"
        << QCoreApplication::translate(
               "Commands",
               "اجازه هايي که هر کس در دفتر لازم دارد (نقش او، يا نقش گروهي "
               "که در آن شريک اند، را به جاي office_user بگذاريد):")
        << "\n\n"
        << serverGrants(prepared.value.schema, QStringLiteral("office_user"));
    return CommandDone;
}

int serverPushCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    int exit = CommandDone;
    if (!line.arguments.isEmpty()) {
        err << "dialvault: " << noArgumentsText("server-push") << "\n";
        return CommandMisused;
    }
    const std::optional<PhoneBookSource> server = requiredServer(line, err, "server-push", exit);
    if (!server)
        return exit;
    const std::optional<QString> folder = commandPhoneBookFolder(line, err);
    if (!folder)
        return CommandFailed;
    PhoneBook local(*folder);
    if (const Status opened = local.open(); !opened.ok()) {
        err << "dialvault: " << notOpenedText(local.source(), opened.error) << "\n";
        return CommandFailed;
    }
    PhoneBook remote(*server);
    if (const Status opened = remote.open(); !opened.ok()) {
        err << "dialvault: " << notOpenedText(remote.source(), opened.error) << "\n";
        return CommandFailed;
    }
    const Result<ImportCounts> pushed = remote.importPhoneBook(local);
    if (!pushed.ok()) {
        err << "dialvault: " << notDoneText(local.databasePath(), pushed.error, true) << "\n";
        return CommandFailed;
    }
    out << importSummaryText(pushed.value) << "\n";
    return CommandDone;
}

bool refusedOnServer(const CommandLine &line, QTextStream &err, const char *command)
{
    bool refused = false;
    const std::optional<PhoneBookSource> server = commandServer(line, err, refused);
    if (server)
        err << "dialvault: "
            << QCoreApplication::translate(
                   "Commands",
                   "دفترچه تلفن روي سرور %1 است: %2 فقط با دفترچه تلفن محلي "
                   "کار مي کند. از ابزارهاي خود سرور استفاده کنيد: "
                   "pg_dump --format=custom --table=test "
                   "--table=test_count براي نگه داشتن نسخه اي از آن، "
                   "و pg_restore براي بازگرداندن آن.")
                   .arg(server->shownName(), QLatin1String(command))
            << "\n";
    return server || refused;
}

} // namespace dialvault
