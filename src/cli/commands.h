#pragma once

#include "cli/commandline.h"

#include <QString>

class QTextStream;

namespace dialvault {

// Exit statuses every command shares.
enum CommandExit : int {
    CommandDone = 0,
    CommandFailed = 1, // the command could not do what it was asked
    CommandMisused = 2, // the command line itself is wrong
};

// "Try 'dialvault --help'." in the language in use, for a command misused.
QString tryHelpText();

// "COMMAND takes no arguments" and "COMMAND needs one FILE", in the language
// in use.
QString noArgumentsText(const char *command);
QString oneFileText(const char *command);

// A field on one line of the output: a line break or tab inside it would
// split the entry or shift its columns, so each becomes a space.
QString onOneLine(QString text);

// Whether the command draws pages (a PDF) and so needs a QGuiApplication,
// which runCommand() then takes.
bool commandDraws(const CommandLine &line);

// Runs a command without any window: results on `out`, one line each,
// failures on `err`; returns the exit status. Needs a QCoreApplication.
int runCommand(const CommandLine &line, QTextStream &out, QTextStream &err);

} // namespace dialvault
