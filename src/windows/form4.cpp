#include "windows/form4.h"

#include "button/paintedbutton.h"

namespace dialvault {

Form4::Form4()
    : FormWindow(form4Layout())
{
    connect(control<PaintedButton>(QStringLiteral("paintedButton1")), &PaintedButton::Click, this,
            &FormWindow::unload);
}

} // namespace dialvault
