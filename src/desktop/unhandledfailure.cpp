#include "desktop/unhandledfailure.h"

#include "desktop/windowsystem.h"

namespace dialvault {

void reportUnhandledFailure(WindowSystem &windows, const QString &text)
{
    windows.messageBox(text, MsgOk);
    windows.endProgram(1);
}

} // namespace dialvault
