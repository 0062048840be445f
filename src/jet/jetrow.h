#pragma once

#include "store/contactentry.h"

namespace dialvault {

// One row of a Jet table `test`, exactly as stored: a null QString is a NULL
// field, a non-null empty one the empty text. It is carried over as it is.
using JetRow = ExactEntry;

} // namespace dialvault
