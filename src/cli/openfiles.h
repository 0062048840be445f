#pragma once

#include "cli/commandline.h"

namespace dialvault {

// The files the windows are asked to open, as a desktop's "open with" passes
// them (dialvault FILE…): the words of a command line whose first word is a
// path rather than a command. Command words hold neither '/' nor '.', so a
// path is told by either. Empty for every other command line.
QStringList filesToOpen(const CommandLine &line);

} // namespace dialvault
