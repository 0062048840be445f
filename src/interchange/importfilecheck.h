#pragma once

#include "interchange/readresult.h"

#include <QString>

#include <optional>

namespace dialvault {

// The largest file an import takes unless the setting says otherwise: 1 GiB.
inline constexpr qint64 defaultImportLimit = qint64(1) << 30;
// The setting that names the largest file an import takes, in MiB.
inline const QString importLimitSettingName = QStringLiteral("import limit MiB");

// The limit a value of that setting names: a whole number of MiB above 0,
// else the default.
qint64 importLimitOf(const QString &setting);

// Whether an import may read the file at `path`, told before it is opened:
// a regular file of at most `limit` bytes. Anything else is refused at once
// (a device such as /dev/zero that never ends, a FIFO that may never be
// written, a folder), as is a larger file; the refusal names `path`.
std::optional<ReadFailure> refusedImportFile(const QString &path, qint64 limit);

} // namespace dialvault
