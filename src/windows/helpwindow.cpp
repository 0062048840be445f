#include "windows/helpwindow.h"

#include "button/paintedbutton.h"

namespace dialvault {

HelpWindow::HelpWindow(const Desktop &desktop)
    : FormWindow(helpWindowLayout(), desktop.windows)
{
    build(helpWindowLayout(), m_controls);
    connect(m_controls.exitButton, &PaintedButton::Click, this, &FormWindow::unload);
}

} // namespace dialvault
