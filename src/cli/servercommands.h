#pragma once

#include "cli/commandline.h"

class QTextStream;

namespace dialvault {

// dialvault --server URL server-init: the phone book made (or completed, or
// checked) on the server, and the rights a person of the office needs.
int serverInitCommand(const CommandLine &line, QTextStream &out, QTextStream &err);
// dialvault --server URL server-push: every entry of the local phone book
// copied to the server in one transaction, duplicates skipped.
int serverPushCommand(const CommandLine &line, QTextStream &out, QTextStream &err);

// For backup and restore, which work on the local file: true (the refusal
// said on `err`) when the phone book is on a server, or the server address
// cannot be read.
bool refusedOnServer(const CommandLine &line, QTextStream &err, const char *command);

} // namespace dialvault
