#pragma once

#include <QString>

namespace dialvault {

// A failure the program cannot go on after: `text` is shown under the
// application title, then the program ends with a failing exit status, so
// that whoever started it sees the failure too.
void reportUnhandledFailure(const QString &text);

} // namespace dialvault
