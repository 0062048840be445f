#pragma once

#include "interchange/readresult.h"

namespace dialvault {

// A refusal of `fault` at `line`, with both texts filled in; the caller that
// knows the file's name sets it.
ReadFailure readFailure(ReadFault fault, int line);

} // namespace dialvault
