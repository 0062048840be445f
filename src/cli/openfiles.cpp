#include "cli/openfiles.h"

namespace dialvault {

QStringList filesToOpen(const CommandLine &line)
{
    if (!line.error.isEmpty() || line.command.isEmpty())
        return {};
    const bool isPath = line.command.contains(u'/') || line.command.contains(u'.')
        || line.command.contains(u'\\');
    if (!isPath)
        return {};
    return QStringList{line.command} + line.arguments;
}

} // namespace dialvault
