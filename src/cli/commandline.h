#pragma once

#include <QString>
#include <QStringList>

namespace dialvault {

// What the program is asked to do, from its command line. With no command
// it opens its windows; every command runs without a window.
struct CommandLine
{
    QString command; // empty: the windows; else "help", "version", "import-jet", …
    QStringList arguments; // the command's own words
    QString dataFolder; // --data-dir
    QString server; // --server
    QString format; // --format
    bool atStart = false; // --start: find only where a name or number starts so
    QString error; // a usage mistake, in plain English; empty when none

    bool opensWindows() const { return command.isEmpty() && error.isEmpty(); }
};

// Reads the arguments after the program's name. Options may stand anywhere;
// "--" ends them.
CommandLine parseCommandLine(const QStringList &arguments);

} // namespace dialvault
