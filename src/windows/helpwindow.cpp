#include "windows/helpwindow.h"

#include "button/paintedbutton.h"
#include "layout/windowlayouts.h"

namespace dialvault {

HelpWindow::HelpWindow(const Desktop &desktop)
    : FormWindow(helpWindowLayout(), desktop.windows)
{
    HelpWindowControls controls;
    build(helpWindowLayout(), controls);
    connect(controls.exitButton, &PaintedButton::Click, this, &FormWindow::unload);
}

} // namespace dialvault
