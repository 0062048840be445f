#pragma once

#include "desktop/clock.h"
#include "desktop/phonebooklocation.h"
#include "desktop/settings.h"
#include "desktop/windowsystem.h"

namespace dialvault {

class SyncRunner;

// What the windows are given of the desktop they run on. The references
// outlive every window: the program's start-up owns them, or a test's fakes.
struct Desktop
{
    WindowSystem &windows;
    Clock &clock;
    Settings &settings;
    PhoneBookLocation &phoneBook;
    // The syncs with the address book; none where nothing syncs.
    SyncRunner *sync = nullptr;
};

} // namespace dialvault
