#pragma once

#include "cli/commandline.h"

class QTextStream;

namespace dialvault {

// Exit statuses of find, as grep has them.
enum FindExit : int {
    FindMatched = 0,
    FindNothing = 1,
    FindFailed = 2, // the command line is wrong, or the phone book cannot be read
};

// dialvault import FILE…: the entries of vCard, CSV and Jet files added to
// the phone book, each file in one transaction; a refused file is said with
// its line and reason and the others go on. One summary line on `out`.
int importCommand(const CommandLine &line, QTextStream &out, QTextStream &err);
// dialvault export FILE: every entry written to FILE, in the format its
// extension or --format names.
int exportCommand(const CommandLine &line, QTextStream &out, QTextStream &err);
// Whether `line` is an export to a PDF file (by its extension).
bool exportWritesPdf(const CommandLine &line);
// dialvault find TEXT: the entries whose name or number holds TEXT (with
// --start, starts with it), one a line: name, number, first line of the note.
int findCommand(const CommandLine &line, QTextStream &out, QTextStream &err);

} // namespace dialvault
