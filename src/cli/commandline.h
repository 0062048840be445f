#pragma once

#include "words/interfacelanguage.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace dialvault {

// A mistake in the command line: its text, translated only when it is told,
// since the language is chosen after the words are read, and the word it
// names (its %1).
struct UsageError
{
    const char *text = nullptr; // marked with QT_TRANSLATE_NOOP("CommandLine", …)
    QString word;

    bool isEmpty() const { return text == nullptr; }
    // The mistake in the language in use.
    QString toString() const;
};

// What the program is asked to do, from its command line. With no command
// it opens its windows; every command runs without a window.
struct CommandLine
{
    QString command; // empty: the windows; else "help", "version", "import-jet", …
    QStringList arguments; // the command's own words
    QString dataFolder; // --data-dir
    QString server; // --server
    QString format; // --format
    std::optional<int> timeoutSeconds; // --timeout: each statement on a server
    QString carddav; // --carddav: the address book to sync with
    bool allowHttp = false; // --allow-http: plain HTTP to another machine is wanted
    bool atStart = false; // --start: find only where a name or number starts so
    std::optional<InterfaceLanguage> language; // --language
    UsageError error; // empty when none

    bool opensWindows() const { return command.isEmpty() && error.isEmpty(); }
};

// Reads the arguments after the program's name. Options may stand anywhere;
// "--" ends them.
CommandLine parseCommandLine(const QStringList &arguments);

} // namespace dialvault
