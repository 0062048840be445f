#include "layout/failurewords.h"

namespace dialvault {

QString failureText(const QString &headline, const StoreError &error, const QString &path)
{
    QString text = headline;
    if (const QString why = causeWords(error.cause); !why.isEmpty())
        text += u'\n' + why;
    if (!path.isEmpty())
        text += QStringLiteral("\nپرونده: %1").arg(path);
    text += QStringLiteral("\n\n(خطاي شماره %1: %2)").arg(error.number).arg(error.description);
    return text;
}

} // namespace dialvault
