#include "desktop/failurewords.h"

#include <QCoreApplication>

namespace dialvault {

namespace {

QString failureLines(const QString &headline, const StoreError &error, const QString &where)
{
    QString text = headline;
    if (const QString why = errorWords(error); !why.isEmpty())
        text += u'\n' + why;
    if (!where.isEmpty())
        text += u'\n' + where;
    text += QStringLiteral("\n\n")
        + QCoreApplication::translate("FailureWords", "(خطاي شماره %1: %2)")
              .arg(error.number)
              .arg(error.description);
    return text;
}

} // namespace

QString failureText(const QString &headline, const StoreError &error, const QString &path)
{
    return failureLines(headline, error,
                        path.isEmpty()
                            ? QString()
                            : QCoreApplication::translate("FailureWords", "پرونده: %1").arg(path));
}

QString failureText(const QString &headline, const StoreError &error, const PhoneBookSource &source)
{
    if (!source.isServer())
        return failureText(headline, error, source.databasePath());
    return failureLines(
        headline, error,
        QCoreApplication::translate("FailureWords", "سرور: %1").arg(source.shownName()));
}

} // namespace dialvault
