#pragma once

#include "words/interfacelanguage.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace dialvault {

// The program with its windows, in the language chosen (`language` is
// --language, else the `language` setting, else Persian): the phone book
// chosen (`server` is --server, `dataFolder` --data-dir, each empty when not
// given): a server, or the local file, whose place is decided and where an
// old phone book is carried over; the main window shown, with the day's
// backup behind it for a local file; the `files` it was asked to open taken
// in; the event loop run. Returns the exit status.
int runWindows(int &argc, char **argv, const QString &dataFolder = {},
               const QStringList &files = {}, const QString &server = {},
               std::optional<InterfaceLanguage> language = {});

} // namespace dialvault
