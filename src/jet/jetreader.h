#pragma once

#include "jet/jetrow.h"
#include "store/storeerror.h"

#include <QList>
#include <QString>

#include <chrono>

namespace dialvault {

// How long the reader may stay silent before it counts as hung.
inline constexpr std::chrono::milliseconds jetReadSilenceLimit{20000};

// Every row of table `test` of the Jet database at `path` (Jet 3, Jet 4 or
// its Access 2007 successor), in stored order, each value exact: texts code
// point for code point, NULL as NULL (a null QString or no row number), the
// empty text as the empty text, numbers from their stored bits.
//
// Refusals: CannotOpen; NotADatabase (no Jet signature, whatever the size);
// NoTable; MissingField (a field absent or of a type that cannot hold it);
// Damaged (fewer or more rows than the table records, a value that cannot be
// read whole, or the reading crashing or staying silent for `silenceLimit`).
// Nothing is ever written to the file.
//
// libmdb does the reading in a child process made with fork(), because a
// damaged file can crash it or make it loop. Precondition: call this while
// the process has a single thread, that is before any QApplication, thread
// pool or worker thread exists (at start-up, or from the command line).
Result<QList<JetRow>> readJetTable(const QString &path,
                                   std::chrono::milliseconds silenceLimit = jetReadSilenceLimit);

} // namespace dialvault
