#pragma once

#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// What a person is told of a cause, in Persian; empty for success. Free of
// widgets, so that the command line says the same as the windows; the store
// itself gives causes only.
QString causeWords(FailureCause cause);

// The cause's words and, when a right on the server is missing, its name.
QString errorWords(const StoreError &error);

} // namespace dialvault
