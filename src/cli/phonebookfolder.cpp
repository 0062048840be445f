#include "cli/phonebookfolder.h"

#include "cli/commandplace.h"
#include "interchange/transfertexts.h"
#include "place/serverchoice.h"
#include "store/serveraddress.h"

#include <QCoreApplication>
#include <QTextStream>

#include <chrono>

namespace dialvault {

namespace {

QString repairHint()
{
    return QCoreApplication::translate("Commands",
                                       "dialvault repair همه شماره ها را به دفترچه تازه اي مي برد "
                                       "و اين پرونده را در پوشه پشتيبان ها نگه مي دارد.");
}

} // namespace

std::optional<QString> commandPhoneBookFolder(const CommandLine &line, QTextStream &err,
                                              EmptyFolder empty)
{
    const std::optional<PhoneBookPlace> place = commandPlace(line, err);
    if (!place)
        return std::nullopt;
    // As at the windows' start: a first start in installed use gets the
    // installation's empty phone book.
    if (const Status prepared = preparePlace(*place); !prepared.ok()) {
        err << "dialvault: " << prepared.error.description << "\n";
        return std::nullopt;
    }
    if (empty == EmptyFolder::GetsPhoneBook) {
        const Result<bool> made = makePhoneBookInEmptyFolder(*place);
        if (!made.ok()) {
            err << "dialvault: " << made.error.description << "\n";
            return std::nullopt;
        }
        if (made.value)
            err << "dialvault: " << newPhoneBookText(place->folder) << "\n";
    }
    return place->folder;
}

std::optional<PhoneBookSource> commandServer(const CommandLine &line, QTextStream &err,
                                             bool &refused)
{
    refused = false;
    const QString url = chosenServer(line.server, line.dataFolder);
    if (url.isEmpty())
        return std::nullopt;
    if (const Result<ServerAddress> address = ServerAddress::parse(url); !address.ok()) {
        err << "dialvault: " << address.error.description << "\n";
        refused = true;
        return std::nullopt;
    }
    const PhoneBookSource source = PhoneBookSource::server(url);
    if (line.timeoutSeconds)
        return source.withTimeout(std::chrono::seconds(*line.timeoutSeconds));
    return source;
}

std::optional<PhoneBookSource> commandPhoneBook(const CommandLine &line, QTextStream &err,
                                                EmptyFolder empty)
{
    bool refused = false;
    if (std::optional<PhoneBookSource> server = commandServer(line, err, refused))
        return server;
    if (refused)
        return std::nullopt;
    const std::optional<QString> folder = commandPhoneBookFolder(line, err, empty);
    if (!folder)
        return std::nullopt;
    return PhoneBookSource::inFolder(*folder);
}

std::unique_ptr<PhoneBook> openCommandPhoneBook(const CommandLine &line, QTextStream &err,
                                                EmptyFolder empty)
{
    const std::optional<PhoneBookSource> source = commandPhoneBook(line, err, empty);
    if (!source)
        return nullptr;
    auto book = std::make_unique<PhoneBook>(*source);
    if (const Status opened = book->open(); !opened.ok()) {
        err << "dialvault: " << notOpenedText(book->source(), opened.error) << "\n";
        // The user's own file, refused for what another program put in it.
        if (opened.error.cause == FailureCause::ForeignSchema && !book->source().isServer())
            err << "dialvault: " << repairHint() << "\n";
        return nullptr;
    }
    return book;
}

} // namespace dialvault
