#pragma once

#include "cli/commandline.h"

class QTextStream;

namespace dialvault {

// dialvault where: the paths of the phone book, its backups and the settings.
int whereCommand(const CommandLine &line, QTextStream &out, QTextStream &err);
// dialvault backup: a backup of the phone book, made now.
int backupCommand(const CommandLine &line, QTextStream &out, QTextStream &err);
// dialvault restore FILE: the phone book in FILE put in place of the current one.
int restoreCommand(const CommandLine &line, QTextStream &out, QTextStream &err);
// dialvault repair: the phone book's four fields put into a phone book made
// afresh, the file as it was kept as a backup.
int repairCommand(const CommandLine &line, QTextStream &out, QTextStream &err);

} // namespace dialvault
