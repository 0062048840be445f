#include "cli/commands.h"
#include "cli/openfiles.h"
#include "main/startup.h"
#include "words/interfacelanguage.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Dialvault"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DIALVAULT_VERSION));
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const dialvault::CommandLine line = dialvault::parseCommandLine(arguments);
    const QStringList files = dialvault::filesToOpen(line);
    if (line.opensWindows() || !files.isEmpty())
        return dialvault::runWindows(argc, argv, line.dataFolder, files, line.server,
                                     line.language);

    // Pages are laid out in the interface font without any window, so even
    // where no display is reachable.
    if (dialvault::commandDraws(line))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app = dialvault::commandDraws(line)
        ? std::make_unique<QGuiApplication>(argc, argv)
        : std::make_unique<QCoreApplication>(argc, argv);
    dialvault::useLanguage(line.language.value_or(dialvault::usersLanguage()));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return dialvault::runCommand(line, out, err);
}
