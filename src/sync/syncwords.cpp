#include "sync/syncwords.h"

#include "words/causewords.h"

#include <QCoreApplication>

namespace dialvault {

QString syncFailureWords(const SyncStatus &status)
{
    switch (status.cause) {
    case SyncCause::None:
        return {};
    case SyncCause::NoAddressBook:
        return QCoreApplication::translate(
            "SyncWords",
            "هيچ دفترچه نشاني CardDAV تنظيم نشده است. نشاني آن را با --carddav URL "
            "يا تنظيم \"carddav\" بدهيد.");
    case SyncCause::InsecureAddress:
        return QCoreApplication::translate(
                   "SyncWords",
                   "نشاني دفترچه نشاني با http است و رمز بي رمزنگاري به %1 فرستاده مي شد. "
                   "از https استفاده کنيد، يا اگر همين را مي خواهيد --allow-http را بدهيد.")
            .arg(status.detail);
    case SyncCause::PasswordInAddress:
        return QCoreApplication::translate(
            "SyncWords",
            "نشاني دفترچه نشاني رمز دارد، و رمز نبايد در تنظيمات نوشته شود. آن را از "
            "نشاني برداريد و در انبار رمزهاي ميزکار يا در ~/.netrc بگذاريد.");
    case SyncCause::BadAddress:
        return QCoreApplication::translate(
            "SyncWords", "نشاني دفترچه نشاني درست نيست: بايد با https:// شروع شود.");
    case SyncCause::NoPassword:
        return QCoreApplication::translate(
            "SyncWords",
            "رمز دفترچه نشاني پيدا نشد. آن را در انبار رمزهاي ميزکار، در ~/.netrc يا "
            "در DIALVAULT_CARDDAV_PASSWORD بگذاريد، و نام کاربري را در نشاني يا در "
            "~/.netrc.");
    case SyncCause::NetrcUnsafe:
        return QCoreApplication::translate(
            "SyncWords",
            "پرونده ~/.netrc را ديگران هم مي توانند بخوانند، پس رمزي از آن خوانده "
            "نمي شود. با chmod 600 ~/.netrc آن را خصوصي کنيد.");
    case SyncCause::WrongPassword:
        return QCoreApplication::translate("SyncWords",
                                           "سرور دفترچه نشاني نام کاربري يا رمز را نپذيرفت.");
    case SyncCause::Forbidden:
        return QCoreApplication::translate(
            "SyncWords", "شما اجازه خواندن يا تغيير اين دفترچه نشاني را روي سرور نداريد.");
    case SyncCause::Unreachable:
        return QCoreApplication::translate(
            "SyncWords",
            "سرور دفترچه نشاني در دسترس نيست. شبکه و نشاني را بررسي کنيد و دوباره "
            "امتحان کنيد.");
    case SyncCause::Untrusted:
        return QCoreApplication::translate(
            "SyncWords", "گواهي امنيتي سرور دفترچه نشاني معتبر نيست، پس چيزي به آن فرستاده نشد.");
    case SyncCause::TimedOut:
        return QCoreApplication::translate(
            "SyncWords", "سرور دفترچه نشاني در زمان مقرر پاسخ نداد. کمي بعد دوباره امتحان کنيد.");
    case SyncCause::DeadlinePassed:
        return QCoreApplication::translate(
            "SyncWords",
            "همگام سازي در زمان مقرر تمام نشد، پس در دفترچه تلفن چيزي تغيير نکرد. کمي بعد "
            "دوباره امتحان کنيد: آنچه به سرور رسيده است دوباره فرستاده نمي شود.");
    case SyncCause::NotAnAddressBook:
        return QCoreApplication::translate(
            "SyncWords", "اين نشاني، دفترچه نشاني CardDAV نيست. نشاني خود دفترچه نشاني را بدهيد.");
    case SyncCause::Garbage:
        return QCoreApplication::translate("SyncWords",
                                           "سرور دفترچه نشاني پاسخي داد که معنايي ندارد.");
    case SyncCause::ServerFailed:
        return QCoreApplication::translate(
            "SyncWords", "سرور دفترچه نشاني با خطا پاسخ داد. کمي بعد دوباره امتحان کنيد.");
    case SyncCause::PhoneBookBusy:
        return QCoreApplication::translate(
            "SyncWords",
            "شماره هاي دفترچه تلفن در همان حال پي در پي تغيير کردند. دوباره امتحان کنيد.");
    case SyncCause::Store:
        return errorWords(status.store);
    }
    return {};
}

QStringList syncReportLines(const SyncReport &report)
{
    QStringList lines;
    lines.append(
        QCoreApplication::translate("SyncWords", "در دفترچه تلفن: %1 اضافه، %2 تغيير، %3 حذف")
            .arg(report.here.added)
            .arg(report.here.changed)
            .arg(report.here.deleted));
    lines.append(
        QCoreApplication::translate("SyncWords", "در دفترچه نشاني: %1 اضافه، %2 تغيير، %3 حذف")
            .arg(report.there.added)
            .arg(report.there.changed)
            .arg(report.there.deleted));
    // What became of a conflict is said only when there was one.
    lines.append(report.conflicts == 0
                     ? QCoreApplication::translate("SyncWords", "ناسازگاري: هيچ")
                     : QCoreApplication::translate("SyncWords",
                                                   "ناسازگاري: %1 (نسخه سرور نگه داشته شد و "
                                                   "نسخه اينجا کنار گذاشته شد)")
                           .arg(report.conflicts));
    if (report.skippedCards > 0)
        lines.append(QCoreApplication::translate(
                         "SyncWords",
                         "کارت هاي کنار گذاشته: %1 (گروه ها، کارت هاي بي نام و شماره، يا "
                         "کارت هايي که خوانده نشدند)")
                         .arg(report.skippedCards));
    return lines;
}

} // namespace dialvault
