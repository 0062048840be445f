#pragma once

#include "desktop/desktop.h"

#include <QPointer>

namespace dialvault {

// Shows the one instance of a window type, modeless and without an owner:
// loaded on first use (and again after it was unloaded) from the desktop and
// `more`, otherwise brought forward as it stands. `openedFrom` is the window
// whose button asked.
template <typename Window, typename... More>
Window *showSingle(const Desktop &desktop, QWidget *openedFrom, More &...more)
{
    static QPointer<Window> instance;
    if (!instance || instance->isUnloaded())
        instance = new Window(desktop, more...);
    desktop.windows.showWindow(instance, openedFrom);
    return instance;
}

} // namespace dialvault
