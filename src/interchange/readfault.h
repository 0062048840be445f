#pragma once

#include "interchange/readresult.h"

#include <QStringList>

namespace dialvault {

// A refusal of `fault` at `line`, with its reason; the caller that
// knows the file's name sets it.
ReadFailure readFailure(ReadFault fault, int line);

// A CSV file refused for its header row, naming the columns it holds.
ReadFailure unknownColumnsFailure(const QStringList &columns);

} // namespace dialvault
