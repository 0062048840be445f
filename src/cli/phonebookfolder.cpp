#include "cli/phonebookfolder.h"

#include <QCoreApplication>

namespace dialvault {

std::optional<QString> commandPhoneBookFolder(const CommandLine &line, QTextStream &)
{
    if (!line.dataFolder.isEmpty())
        return line.dataFolder;
    return QCoreApplication::applicationDirPath();
}

} // namespace dialvault
