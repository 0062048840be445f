#pragma once

#include "jet/jetrow.h"
#include "jet/jettablereader.h"
#include "store/storeerror.h"

#include <QList>
#include <QString>

#include <chrono>
#include <functional>

namespace dialvault {

// A reading that may crash or never end, given the sink for what it finds.
using ChildReading = std::function<Status(JetRowSink &)>;

// How much memory the reading child may take beyond what it starts with: a
// damaged file can make libmdb grow without end.
inline constexpr qint64 childMemoryLimit = qint64(512) << 20;

// Runs `read` in a child process made with fork() and collects the rows it
// passes on. The reading counts as hung once it has stayed silent for
// `silenceLimit`, and is then killed; it may take `memoryLimit` bytes more
// than it starts with, and fails to get more. Whatever goes wrong in the
// child (a crash, exit(), a hang, memory refused, more rows than recorded, a
// row count that differs) becomes a Damaged refusal that names `path`; the
// child's own refusal is passed on as it is. The child never runs the
// parent's exit handlers.
//
// Precondition: the process has a single thread (see readJetTable).
Result<QList<JetRow>> readInChildProcess(const QString &path, const ChildReading &read,
                                         std::chrono::milliseconds silenceLimit,
                                         qint64 memoryLimit = childMemoryLimit);

} // namespace dialvault
