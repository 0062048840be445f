#include "cli/phonebookfolder.h"

#include "cli/commandplace.h"

#include <QTextStream>

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

} // namespace dialvault
