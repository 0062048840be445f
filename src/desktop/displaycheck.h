#pragma once

#include <QString>

namespace dialvault {

// Whether there is a display to show the windows on (or a platform was
// chosen).
bool hasDisplay();

// One plain line saying how to run the program when there is no display, in
// the language in use.
QString missingDisplayText(const QString &program);

} // namespace dialvault
