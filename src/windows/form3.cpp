#include "windows/form3.h"

#include "button/paintedbutton.h"
#include "windows/form6.h"
#include "windows/singlewindow.h"

namespace dialvault {

Form3::Form3()
    : FormWindow(form3Layout())
{
    connect(control<PaintedButton>(QStringLiteral("paintedButton1")), &PaintedButton::Click, this,
            &FormWindow::unload);
    connect(control<PaintedButton>(QStringLiteral("paintedButton2")), &PaintedButton::Click, this,
            [] { showSingle<Form6>(); });
}

} // namespace dialvault
