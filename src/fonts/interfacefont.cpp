#include "fonts/interfacefont.h"

#include <QFontDatabase>

#include <mutex>

namespace dialvault {

QString interfaceFontFamily()
{
    return QStringLiteral("Vazirmatn UI");
}

void useInterfaceFont()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/Vazirmatn-UI-Regular.ttf"));
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/Vazirmatn-UI-Bold.ttf"));
    });
}

QString familyFor(const QString &layoutName)
{
    // Mapped even where the Windows fonts are installed, so that every
    // machine draws the same pixels.
    for (const QLatin1String windowsName :
         {QLatin1String("Tahoma"), QLatin1String("MS Sans Serif")}) {
        if (layoutName.compare(windowsName, Qt::CaseInsensitive) == 0)
            return interfaceFontFamily();
    }
    return layoutName;
}

} // namespace dialvault
