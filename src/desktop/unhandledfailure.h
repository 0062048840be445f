#pragma once

#include <QString>

namespace dialvault {

class WindowSystem;

// A failure the program cannot go on after: `text` is shown under the
// application title, then the program ends with a failing exit status, so
// that whoever started it sees the failure too.
void reportUnhandledFailure(WindowSystem &windows, const QString &text);

} // namespace dialvault
