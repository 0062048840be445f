#include "windows/form2.h"

#include "button/paintedbutton.h"

namespace dialvault {

Form2::Form2()
    : FormWindow(form2Layout())
{
    connect(control<PaintedButton>(QStringLiteral("paintedButton1")), &PaintedButton::Click, this,
            &FormWindow::unload);
}

} // namespace dialvault
