#pragma once

#include "cli/commandline.h"
#include "place/phonebookplace.h"

class QTextStream;

namespace dialvault {

// The phone book a command works on: the one the windows would open, by the
// same rules (--data-dir, DIALVAULT_DATA_DIR, portable, installed). A place
// that cannot be used is said on `err` and gives nothing.
std::optional<PhoneBookPlace> commandPlace(const CommandLine &line, QTextStream &err);

} // namespace dialvault
