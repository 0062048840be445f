#include "windows/helpwindow.h"

#include "button/paintedbutton.h"
#include "layout/windowlayouts.h"

#include <QCoreApplication>

namespace dialvault {

HelpWindow::HelpWindow(const Desktop &desktop)
    : FormWindow(helpWindowLayout(), desktop.windows)
{
    HelpWindowControls controls;
    build(helpWindowLayout(), controls);
    connect(controls.exitButton, &PaintedButton::Click, this, &FormWindow::unload);
    // The keys of the main window that its three instructions do not name.
    setToolTip(QCoreApplication::translate(
        "HelpWindow",
        "برگرداندن آخرين کار: Ctrl+Alt+Z\nانجام دوباره: Ctrl+Alt+Y يا Ctrl+Alt+Shift+Z"));
}

} // namespace dialvault
