#include "desktop/displaycheck.h"

#include <QtGlobal>

namespace dialvault {

std::optional<QString> missingDisplay(const QString &program)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return QStringLiteral(
                   "Dialvault needs a graphical display, and none is set (DISPLAY and "
                   "WAYLAND_DISPLAY are "
                   "empty): start it from a desktop session, or under a virtual one with "
                   "`xvfb-run -a %1`.")
            .arg(program);
    }
#endif
    return std::nullopt;
}

} // namespace dialvault
