#pragma once

#include <QString>

namespace dialvault {

// A failure no handler deals with: its number and description are shown
// under the application title, then the program ends.
void reportUnhandledFailure(int number, const QString &description);

} // namespace dialvault
