#include "cli/commandline.h"

#include <QCoreApplication>

namespace dialvault {

QString UsageError::toString() const
{
    return QCoreApplication::translate("CommandLine", text).arg(word);
}

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
        } else if (name == QLatin1String("--allow-http") && !hasValue) {
            line.allowHttp = true;
        } else if (name == QLatin1String("--data-dir") || name == QLatin1String("--server")
                   || name == QLatin1String("--format") || name == QLatin1String("--language")
                   || name == QLatin1String("--timeout") || name == QLatin1String("--carddav")) {
            if (!hasValue) {
                if (i + 1 >= arguments.size()) {
                    line.error
                        = {QT_TRANSLATE_NOOP("CommandLine", "%1 به يک مقدار نياز دارد"), name};
                    return line;
                }
                value = arguments.at(++i);
            }
            if (name == QLatin1String("--language")) {
                line.language = languageOfCode(value);
                if (!line.language) {
                    line.error = {QT_TRANSLATE_NOOP("CommandLine", "%1 بايد fa يا en باشد"), name};
                    return line;
                }
                continue;
            }
            if (name == QLatin1String("--timeout")) {
                bool valid = false;
                line.timeoutSeconds = value.toInt(&valid);
                if (!valid || *line.timeoutSeconds <= 0) {
                    line.error
                        = {QT_TRANSLATE_NOOP("CommandLine", "%1 بايد يک عدد مثبت باشد"), name};
                    return line;
                }
                continue;
            }
            QString &target = name == QLatin1String("--data-dir") ? line.dataFolder
                : name == QLatin1String("--server")               ? line.server
                : name == QLatin1String("--carddav")              ? line.carddav
                                                                  : line.format;
            target = value;
        } else {
            line.error = {QT_TRANSLATE_NOOP("CommandLine", "گزينه ناشناخته %1"), word};
            return line;
        }
    }
    if (line.command.isEmpty() && !words.isEmpty())
        line.command = words.takeFirst();
    line.arguments = words;
    return line;
}

} // namespace dialvault
