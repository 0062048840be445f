#pragma once

#include <QString>

class QTextStream;

namespace dialvault {

// Exit statuses of the command-line conversion.
enum ImportJetExit : int {
    ImportJetDone = 0, // every entry carried over
    ImportJetRefused = 1, // the old file cannot be carried over (see readJetTable)
    ImportJetNotWritten = 2, // the new file cannot be made, or already exists
};

// The command-line conversion of a Jet file elsewhere (for example
// `dialvault --import-jet OLD.mdb NEW.mdb`): the same checks as at start-up,
// a new phone book at `newPath` that never replaces an existing file, and a
// one-line summary on `out` or the reason on `err`. Returns the exit status.
// Same precondition as readJetTable: call it while the process has a single
// thread.
int importJetCommand(const QString &jetPath, const QString &newPath, QTextStream &out,
                     QTextStream &err);

} // namespace dialvault
