#include "cli/commandplace.h"

#include <QTextStream>

namespace dialvault {

std::optional<PhoneBookPlace> commandPlace(const CommandLine &line, QTextStream &err)
{
    const Result<PhoneBookPlace> decided = decidePlace(placeFacts(line.dataFolder));
    if (!decided.ok()) {
        err << "dialvault: " << decided.error.description << "\n";
        return std::nullopt;
    }
    return decided.value;
}

} // namespace dialvault
