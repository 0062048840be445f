#include "cli/commands.h"
#include "main/startup.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Dialvault"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DIALVAULT_VERSION));
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const dialvault::CommandLine line = dialvault::parseCommandLine(arguments);
    if (line.opensWindows())
        return dialvault::runWindows(argc, argv);

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return dialvault::runCommand(line, out, err);
}
