#pragma once

namespace dialvault {

class MainWindow;
class SyncRunner;
class WindowSystem;

// The main window's count follows every sync that changed entries (one
// asked for in the list too), and a sync starts now when the settings name
// an address book. It is quiet when all goes well: what it did is the count
// box's tip. A failure is said, and so is a conflict, which put one of our
// entries aside.
void startSyncing(SyncRunner &sync, MainWindow &window, WindowSystem &windows);

} // namespace dialvault
