#pragma once

#include "cli/commandline.h"

class QTextStream;

namespace dialvault {

class PasswordSource;

// dialvault sync: the phone book synced both ways with the address book
// that --carddav or the `carddav` setting names, with the password that
// `passwords` finds. Says on `out` what was added, changed and deleted on
// each side and the conflicts, with our version of each conflict's entry
// on a line of its own, so that none is lost.
int syncCommand(const CommandLine &line, QTextStream &out, QTextStream &err,
                PasswordSource &passwords);

} // namespace dialvault
