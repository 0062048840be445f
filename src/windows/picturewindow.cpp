#include "windows/picturewindow.h"

#include "button/paintedbutton.h"

namespace dialvault {

PictureWindow::PictureWindow(const Desktop &desktop)
    : FormWindow(pictureWindowLayout(), desktop.windows)
{
    build(pictureWindowLayout(), m_controls);
    connect(m_controls.exitButton, &PaintedButton::Click, this, &FormWindow::unload);
}

} // namespace dialvault
