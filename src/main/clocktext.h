#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace dialvault {

// The clock line: the locale's short date followed by its long time, as a
// desktop's "general date" shows it (no time-zone name). Under a Persian
// locale the date is in the Solar Hijri calendar, in Persian digits.
QString generalDateText(const QDateTime &when, const QLocale &locale = QLocale());

// The same format string generalDateText uses for the locale.
QString generalDateFormat(const QLocale &locale);

} // namespace dialvault
