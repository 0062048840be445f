#pragma once

#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// What the user is told when an entry could not be stored: that it was not
// stored, why in plain words where the cause is a common one, and the
// engine's own number and text.
QString addFailureText(const StoreError &error);

} // namespace dialvault
