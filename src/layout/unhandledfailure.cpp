#include "layout/unhandledfailure.h"

#include "layout/services.h"

namespace dialvault {

void reportUnhandledFailure(int number, const QString &description)
{
    services().messageBox(QStringLiteral("خطاي شماره %1:\n\n%2").arg(number).arg(description),
                          MsgOk);
    services().endProgram();
}

} // namespace dialvault
