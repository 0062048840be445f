#include "main/addfailuretext.h"

namespace dialvault {

namespace {

// SQLite's primary result codes (the low byte of an extended code).
enum : int {
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteReadOnly = 8,
    SqliteFull = 13,
    SqliteCantOpen = 14
};

QString reason(const StoreError &error)
{
    if (error.number == ObjectNotSet)
        return QStringLiteral("ارتباط با پرونده دفترچه تلفن بسته شده است.");
    switch (error.number & 0xFF) {
    case SqliteBusy:
    case SqliteLocked:
        return QStringLiteral(
            "پرونده دفترچه تلفن در دست برنامه ديگري است. کمي بعد دوباره امتحان کنيد.");
    case SqliteReadOnly:
        return QStringLiteral("پرونده دفترچه تلفن يا پوشه آن فقط خواندني است.");
    case SqliteFull:
        return QStringLiteral("جاي خالي ديسک تمام شده است.");
    case SqliteCantOpen:
        return QStringLiteral("پرونده دفترچه تلفن باز نمي شود.");
    default:
        return {};
    }
}

} // namespace

QString addFailureText(const StoreError &error)
{
    QString text = QStringLiteral("اين شماره ذخيره نشد.");
    const QString why = reason(error);
    if (!why.isEmpty())
        text += u'\n' + why;
    text += QStringLiteral("\n\n(خطاي شماره %1: %2)").arg(error.number).arg(error.description);
    return text;
}

} // namespace dialvault
