#include "main/clocktext.h"

#include <QCalendar>

namespace dialvault {

namespace {

// Qt's long time formats end in the zone name ("t", sometimes "(t)"); a
// desktop clock line does not show it.
QString withoutZone(const QString &format)
{
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    out.remove(QStringLiteral("()"));
    return out.simplified();
}

} // namespace

QString generalDateFormat(const QLocale &locale)
{
    return locale.dateFormat(QLocale::ShortFormat) + u' '
        + withoutZone(locale.timeFormat(QLocale::LongFormat));
}

QString generalDateText(const QDateTime &when, const QLocale &locale)
{
    const QCalendar calendar(locale.language() == QLocale::Persian ? QCalendar::System::Jalali
                                                                   : QCalendar::System::Gregorian);
    return locale.toString(when, generalDateFormat(locale), calendar);
}

} // namespace dialvault
