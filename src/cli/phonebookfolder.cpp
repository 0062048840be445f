#include "cli/phonebookfolder.h"

#include "cli/commandplace.h"
#include "interchange/transfertexts.h"
#include "place/serverchoice.h"
#include "store/serveraddress.h"

#include <QTextStream>

#include <chrono>

namespace dialvault {

std::optional<QString> commandPhoneBookFolder(const CommandLine &line, QTextStream &err)
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

std::optional<PhoneBookSource> commandPhoneBook(const CommandLine &line, QTextStream &err)
{
    bool refused = false;
    if (std::optional<PhoneBookSource> server = commandServer(line, err, refused))
        return server;
    if (refused)
        return std::nullopt;
    const std::optional<QString> folder = commandPhoneBookFolder(line, err);
    if (!folder)
        return std::nullopt;
    return PhoneBookSource::inFolder(*folder);
}

std::unique_ptr<PhoneBook> openCommandPhoneBook(const CommandLine &line, QTextStream &err)
{
    const std::optional<PhoneBookSource> source = commandPhoneBook(line, err);
    if (!source)
        return nullptr;
    auto book = std::make_unique<PhoneBook>(*source);
    if (const Status opened = book->open(); !opened.ok()) {
        err << "dialvault: " << notOpenedText(book->source(), opened.error) << "\n";
        return nullptr;
    }
    return book;
}

} // namespace dialvault
