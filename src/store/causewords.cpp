#include "store/causewords.h"

namespace dialvault {

QString causeWords(FailureCause cause)
{
    switch (cause) {
    case FailureCause::None:
        return {};
    case FailureCause::NotFound:
        return QStringLiteral("اين نام در دفترچه تلفن نيست.");
    case FailureCause::BusyOrLocked:
        return QStringLiteral(
            "پرونده دفترچه تلفن در دست برنامه ديگري است. کمي بعد دوباره امتحان کنيد.");
    case FailureCause::ReadOnly:
        return QStringLiteral("پرونده دفترچه تلفن يا پوشه آن فقط خواندني است.");
    case FailureCause::DiskFull:
        return QStringLiteral("جاي خالي ديسک تمام شده است.");
    case FailureCause::CannotOpen:
        return QStringLiteral("پرونده دفترچه تلفن پيدا نشد يا باز نمي شود.");
    case FailureCause::NotADatabase:
        return QStringLiteral("اين پرونده، دفترچه تلفن نيست.");
    case FailureCause::Damaged:
        return QStringLiteral("پرونده دفترچه تلفن آسيب ديده است.");
    case FailureCause::NoTable:
        return QStringLiteral("جدول شماره ها (test) در اين پرونده نيست.");
    case FailureCause::MissingField:
        return QStringLiteral("يکي از ستون هاي جدول شماره ها در اين پرونده نيست.");
    case FailureCause::Other:
        return QStringLiteral("خطاي پيش بيني نشده اي رخ داد.");
    }
    return {};
}

} // namespace dialvault
