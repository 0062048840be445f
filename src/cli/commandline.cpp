#include "cli/commandline.h"

namespace dialvault {

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    QStringList words;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &word = arguments.at(i);
        if (optionsEnded || !word.startsWith(u'-') || word == QLatin1String("-")) {
            words.append(word);
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        QString name = word;
        QString value;
        bool hasValue = false;
        if (const qsizetype equals = word.indexOf(u'='); equals > 0) {
            name = word.left(equals);
            value = word.mid(equals + 1);
            hasValue = true;
        }
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            line.command = QStringLiteral("help");
        } else if (name == QLatin1String("--version")) {
            line.command = QStringLiteral("version");
        } else if (name == QLatin1String("--import-jet")) {
            line.command = QStringLiteral("import-jet");
        } else if (name == QLatin1String("--start") && !hasValue) {
            line.atStart = true;
        } else if (name == QLatin1String("--data-dir") || name == QLatin1String("--server")
                   || name == QLatin1String("--format")) {
            if (!hasValue) {
                if (i + 1 >= arguments.size()) {
                    line.error = QStringLiteral("%1 needs a value").arg(name);
                    return line;
                }
                value = arguments.at(++i);
            }
            QString &target = name == QLatin1String("--data-dir") ? line.dataFolder
                : name == QLatin1String("--server")               ? line.server
                                                                  : line.format;
            target = value;
        } else {
            line.error = QStringLiteral("unknown option %1").arg(word);
            return line;
        }
    }
    if (line.command.isEmpty() && !words.isEmpty())
        line.command = words.takeFirst();
    line.arguments = words;
    return line;
}

} // namespace dialvault
