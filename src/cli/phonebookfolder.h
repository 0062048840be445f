#pragma once

#include "cli/commandline.h"

#include <QString>

#include <optional>

class QTextStream;

namespace dialvault {

// The folder of the phone book that the contacts commands (import, export,
// find) work on: the one the program itself opens (see commandPlace), made
// ready as the windows make it. A folder that cannot be used is said on `err`
// and gives nothing.
std::optional<QString> commandPhoneBookFolder(const CommandLine &line, QTextStream &err);

} // namespace dialvault
