#pragma once

#include "store/storeerror.h"

class QSqlError;

namespace dialvault {

// The cause of a SQLite result code, extended or primary.
FailureCause sqliteCause(int extendedCode);

// A failure the program raises itself, with its fixed description.
Status storeFailure(StoreErrorNumber number);

// A failure reported by SQLite through Qt SQL, with the engine's number and text.
Status sqliteFailure(const QSqlError &error);

// `lost` (a broken connection after a change was sent) as the failure of a
// change that may or may not have been committed.
Status outcomeUnknown(const Status &lost);

} // namespace dialvault
