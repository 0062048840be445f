#pragma once

#include "cli/commandline.h"

class QTextStream;

namespace dialvault {

// Exit statuses every command shares.
enum CommandExit : int {
    CommandDone = 0,
    CommandFailed = 1, // the command could not do what it was asked
    CommandMisused = 2, // the command line itself is wrong
};

// Runs a command without any window: results on `out`, one line each,
// failures on `err`; returns the exit status. Needs a QCoreApplication.
int runCommand(const CommandLine &line, QTextStream &out, QTextStream &err);

} // namespace dialvault
