#pragma once

#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// Makes an empty contact database at `path` unless a file is already there;
// an existing file is never touched. The value tells whether one was made.
// The file appears whole or not at all.
Result<bool> createDatabaseIfMissing(const QString &path);

} // namespace dialvault
