#pragma once

#include "store/storeerror.h"

#include <QString>

class QSqlDatabase;

namespace dialvault {

// How long a connection waits for another one's lock before failing, so that
// two programs adding at the same moment both succeed.
inline constexpr int busyTimeoutMs = 5000;

// Opens `db`, a QSQLITE connection, on the existing file at `path` for reading
// and writing. A missing file fails instead of being created.
Status openExistingFile(QSqlDatabase &db, const QString &path);

} // namespace dialvault
