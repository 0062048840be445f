#include "layout/unhandledfailure.h"

#include "layout/services.h"

namespace dialvault {

void reportUnhandledFailure(const QString &text)
{
    services().messageBox(text, MsgOk);
    services().endProgram(1);
}

} // namespace dialvault
