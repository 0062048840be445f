#include "words/causewords.h"

#include <QCoreApplication>

namespace dialvault {

QString causeWords(FailureCause cause)
{
    switch (cause) {
    case FailureCause::None:
        return {};
    case FailureCause::NotFound:
        return QCoreApplication::translate("CauseWords", "اين نام در دفترچه تلفن نيست.");
    case FailureCause::BusyOrLocked:
        return QCoreApplication::translate(
            "CauseWords",
            "پرونده دفترچه تلفن در دست برنامه ديگري است. کمي بعد دوباره امتحان کنيد.");
    case FailureCause::ReadOnly:
        return QCoreApplication::translate("CauseWords",
                                           "پرونده دفترچه تلفن يا پوشه آن فقط خواندني است.");
    case FailureCause::DiskFull:
        return QCoreApplication::translate("CauseWords", "جاي خالي ديسک تمام شده است.");
    case FailureCause::CannotOpen:
        return QCoreApplication::translate("CauseWords",
                                           "پرونده دفترچه تلفن پيدا نشد يا باز نمي شود.");
    case FailureCause::NotADatabase:
        return QCoreApplication::translate("CauseWords", "اين پرونده، دفترچه تلفن نيست.");
    case FailureCause::Damaged:
        return QCoreApplication::translate("CauseWords", "پرونده دفترچه تلفن آسيب ديده است.");
    case FailureCause::NoTable:
        return QCoreApplication::translate("CauseWords",
                                           "جدول شماره ها (test) در اين پرونده نيست.");
    case FailureCause::MissingField:
        return QCoreApplication::translate("CauseWords",
                                           "يکي از ستون هاي جدول شماره ها در اين پرونده نيست.");
    case FailureCause::ServerUnreachable:
        return QCoreApplication::translate(
            "CauseWords",
            "سرور دفترچه تلفن پاسخ نمي دهد يا در دسترس نيست. شبکه و روشن بودن "
            "سرور را بررسي کنيد و دوباره امتحان کنيد.");
    case FailureCause::ServerBusy:
        return QCoreApplication::translate(
            "CauseWords", "سرور دفترچه تلفن در زمان مقرر پاسخ نداد. کمي بعد دوباره امتحان کنيد.");
    case FailureCause::LoginRefused:
        return QCoreApplication::translate("CauseWords",
                                           "سرور دفترچه تلفن نام کاربري يا رمز را نپذيرفت.");
    case FailureCause::PermissionDenied:
        return QCoreApplication::translate(
            "CauseWords",
            "شما اجازه اين کار را روي سرور دفترچه تلفن نداريد. مدير سرور بايد اين "
            "اجازه را به شما بدهد.");
    case FailureCause::ServerNotPrepared:
        return QCoreApplication::translate(
            "CauseWords",
            "دفترچه تلفن روي اين سرور آماده نشده است. مدير سرور بايد يک بار "
            "dialvault server-init را اجرا کند.");
    case FailureCause::OutcomeUnknown:
        return QCoreApplication::translate(
            "CauseWords",
            "اتصال به سرور درست هنگام ثبت قطع شد و معلوم نيست ثبت شد يا نه. "
            "وقتي سرور دوباره پاسخ دهد بررسي مي شود.");
    case FailureCause::ForeignSchema:
        return QCoreApplication::translate(
            "CauseWords",
            "در اين پرونده چيزي از برنامه ديگري هست، يا تکه اي از دفترچه تلفن "
            "در آن نيست؛ برنامه آن را به کار نمي برد تا چيزي از آن اجرا نشود.");
    case FailureCause::UnsafeFolder:
        return QCoreApplication::translate(
            "CauseWords",
            "اين پوشه پيوندي (symbolic link) به جاي ديگري است يا از آن شما "
            "نيست؛ برنامه در آن چيزي نمي نويسد و از آن چيزي پاک نمي کند.");
    case FailureCause::ServerFull:
        return QCoreApplication::translate(
            "CauseWords",
            "سرور دفترچه تلفن شلوغ است: تعداد کساني که به آن وصل اند بيش از حد است. "
            "کمي بعد دوباره امتحان کنيد.");
    case FailureCause::ChangeConflict:
        return QCoreApplication::translate(
            "CauseWords", "دفترچه تلفن سرگرم تغييري از کس ديگري است. کمي بعد دوباره امتحان کنيد.");
    case FailureCause::ServerEndedSession:
        return QCoreApplication::translate(
            "CauseWords",
            "سرور اتصال را بست، چون کار نيمه تمام بيش از حد منتظر ماند. دوباره امتحان کنيد.");
    case FailureCause::ServerReadOnly:
        return QCoreApplication::translate(
            "CauseWords",
            "سرور دفترچه تلفن اکنون تغييري نمي پذيرد (سرور پشتيبان است يا فقط خواندني "
            "شده است). مدير سرور بايد آن را بررسي کند.");
    case FailureCause::ServerRefusedData:
        return QCoreApplication::translate(
            "CauseWords",
            "سرور دفترچه تلفن اين داده ها را نپذيرفت: قاعده اي در جدول سرور با آن ها "
            "جور نيست.");
    case FailureCause::ServerFault:
        return QCoreApplication::translate(
            "CauseWords",
            "سرور دفترچه تلفن به خطايي از خود برخورد (حافظه، ديسک يا خطاي دروني آن). "
            "مدير سرور بايد گزارش سرور را ببيند.");
    case FailureCause::Other:
        return QCoreApplication::translate("CauseWords", "خطاي پيش بيني نشده اي رخ داد.");
    }
    return {};
}

QString errorWords(const StoreError &error)
{
    // A change the server did not answer in time may still have been stored.
    if (error.cause == FailureCause::OutcomeUnknown && error.lostBy == FailureCause::ServerBusy)
        return QCoreApplication::translate(
            "CauseWords",
            "سرور دفترچه تلفن در زمان مقرر پاسخ نداد و معلوم نيست ثبت شد يا نه. وقتي "
            "سرور دوباره پاسخ دهد بررسي مي شود.");
    QString words = causeWords(error.cause);
    if (error.cause == FailureCause::PermissionDenied && !error.missingRight.isEmpty())
        words
            += QCoreApplication::translate("CauseWords", " اجازه لازم: %1").arg(error.missingRight);
    if (error.cause == FailureCause::ForeignSchema && !error.foreignPart.isEmpty())
        words
            += QCoreApplication::translate("CauseWords", " بخش ناآشنا: %1").arg(error.foreignPart);
    return words;
}

} // namespace dialvault
