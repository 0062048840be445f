#pragma once

#include "jet/carryover.h"

#include <QString>

namespace dialvault {

// What the user is told once after a carry-over, in the language in use: how
// many entries were carried over and under which name the old file is kept.
QString carriedOverMessage(const CarryOver &carryOver);

} // namespace dialvault
