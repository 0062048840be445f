#include "desktop/displaycheck.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace dialvault {

bool hasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

QString missingDisplayText(const QString &program)
{
    return QCoreApplication::translate(
               "DisplayCheck",
               "ديال والت به يک نمايشگر گرافيکي نياز دارد و هيچ کدام تنظيم نشده است "
               "(DISPLAY و WAYLAND_DISPLAY خالي اند): آن را از يک نشست ميزکار اجرا کنيد، يا "
               "در يک نمايشگر مجازي با `xvfb-run -a %1`.")
        .arg(program);
}

} // namespace dialvault
