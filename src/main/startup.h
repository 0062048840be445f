#pragma once

namespace dialvault {

// The program with its windows: an old phone book beside it carried over,
// the main window shown, the event loop run. Returns the exit status.
int runWindows(int &argc, char **argv);

} // namespace dialvault
