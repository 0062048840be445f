#pragma once

#include "cli/commandline.h"
#include "store/phonebook.h"
#include "store/phonebooksource.h"

#include <QString>

#include <memory>
#include <optional>

class QTextStream;

namespace dialvault {

// What a command does with a folder named by --data-dir that is missing or
// empty: one that adds entries makes a new phone book there and says so;
// one that only reads says there is no phone book.
enum class EmptyFolder { Refused, GetsPhoneBook };

// The folder of the phone book that the contacts commands (import, export,
// find) work on: the one the program itself opens (see commandPlace), made
// ready as the windows make it. A folder that cannot be used is said on `err`
// and gives nothing.
std::optional<QString> commandPhoneBookFolder(const CommandLine &line, QTextStream &err,
                                              EmptyFolder empty = EmptyFolder::Refused);

// The phone book that the contacts commands work on: the server chosen as
// the windows choose it (--server, DIALVAULT_SERVER, the settings), else the
// file in commandPhoneBookFolder(). A server address that cannot be read is
// said on `err` (never repeating it: it may hold a password).
std::optional<PhoneBookSource> commandPhoneBook(const CommandLine &line, QTextStream &err,
                                                EmptyFolder empty = EmptyFolder::Refused);

// The phone book of commandPhoneBook(), opened; null when it cannot be,
// with the reason said on `err`.
std::unique_ptr<PhoneBook> openCommandPhoneBook(const CommandLine &line, QTextStream &err,
                                                EmptyFolder empty = EmptyFolder::Refused);

// The server chosen, or nothing when the phone book is the local file.
std::optional<PhoneBookSource> commandServer(const CommandLine &line, QTextStream &err,
                                             bool &refused);

} // namespace dialvault
