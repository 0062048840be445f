#pragma once

#include <QCoreApplication>
#include <QString>

// The main window's messages, exactly as the user sees them in Persian
// (letter forms included: ي U+064A, ك U+0643 and ک U+06A9 are kept apart on
// purpose), in the language in use.
namespace dialvault::mainwindowtexts {

inline QString exitQuestion()
{
    return QCoreApplication::translate("MainWindow", "آيا مطمئن هستيد که ميخواهيد خارج شويد؟");
}
inline QString exitTitle()
{
    return QCoreApplication::translate("MainWindow", "Exit");
}

inline QString searchNeedsName()
{
    return QCoreApplication::translate("MainWindow", "براي جستجو نام را وارد کنيد");
}
inline QString searchNotFound()
{
    return QCoreApplication::translate("MainWindow", "براي اين نام شماره اي وجود ندرد.");
}

inline QString addNeedsName()
{
    return QCoreApplication::translate("MainWindow",
                                       "براي اضافه کردن ابتدا نام و شماره تلفن را وارد کنيد");
}
inline QString addNeedsPhone()
{
    return QCoreApplication::translate("MainWindow", "لطفا شماره را وارد کنيد");
}
inline QString addStored()
{
    return QCoreApplication::translate("MainWindow", "شماره شما با موفقيت ثبت شد.");
}
inline QString addStoredTitle()
{
    return QCoreApplication::translate("MainWindow", "اضافه كردن شماره");
}

inline QString deleteNeedsName()
{
    return QCoreApplication::translate("MainWindow", "براي حذف كردن ابتدا نام را وارد كنيد");
}
inline QString deleteNotFound()
{
    return QCoreApplication::translate("MainWindow",
                                       "شماره اي براي اين نام وجود ندارد تا حذف شود.");
}

// What the window says when the phone book refuses an operation; the cause
// and the engine's own words follow on lines of their own.
inline QString startupFailed()
{
    return QCoreApplication::translate("MainWindow", "دفترچه تلفن باز نشد.");
}
inline QString addNotStored()
{
    return QCoreApplication::translate("MainWindow", "اين شماره ذخيره نشد.");
}
inline QString addOutcomeUnknown()
{
    return QCoreApplication::translate("MainWindow", "معلوم نيست اين شماره ذخيره شد يا نه.");
}
// %1: the name of the entry.
inline QString addSettled()
{
    return QCoreApplication::translate(
        "MainWindow", "شماره «%1» که معلوم نبود ذخيره شده يا نه، اکنون در دفترچه تلفن ذخيره است.");
}
inline QString searchFailed()
{
    return QCoreApplication::translate("MainWindow", "جستجو انجام نشد.");
}
inline QString deleteFailed()
{
    return QCoreApplication::translate("MainWindow", "شماره اي حذف نشد.");
}
inline QString refreshFailed()
{
    return QCoreApplication::translate("MainWindow", "تعداد شماره ها به روز نشد.");
}

// Asked under startupFailed when the phone book holds something of another
// program's: the way out is a phone book made afresh from its entries.
inline QString repairQuestion()
{
    return QCoreApplication::translate(
        "MainWindow",
        "برنامه مي تواند نام، تلفن، يادداشت و رديف همه شماره ها را به دفترچه تلفن "
        "تازه اي ببرد و اين پرونده را همان طور که هست در پوشه پشتيبان ها (backups) "
        "نگه دارد. اين کار انجام شود؟");
}
// %1: where the file as it was is kept.
inline QString repairDone()
{
    return QCoreApplication::translate(
        "MainWindow",
        "دفترچه تلفن تازه ساخته شد و همه شماره ها در آن است. پرونده پيشين اينجا "
        "نگه داشته شد:\n%1");
}
inline QString repairFailed()
{
    return QCoreApplication::translate(
        "MainWindow", "دفترچه تلفن تازه ساخته نشد؛ پرونده همان طور که بود مانده است.");
}

// Undo (Ctrl+Alt+Z) and redo (Ctrl+Alt+Y): what a step was, then how
// undoing or doing it again went.
inline QString stepAdd()
{
    return QCoreApplication::translate("MainWindow", "اضافه کردن شماره");
}
// %n: how many entries.
inline QString stepDelete(qint64 entries)
{
    return QCoreApplication::translate("MainWindow", "حذف %n شماره", nullptr, int(entries));
}
inline QString stepCorrection()
{
    return QCoreApplication::translate("MainWindow", "اصلاح شماره");
}
// %n: how many entries.
inline QString stepImport(qint64 entries)
{
    return QCoreApplication::translate("MainWindow", "وارد کردن %n شماره", nullptr, int(entries));
}
inline QString undoNothing()
{
    return QCoreApplication::translate("MainWindow", "کاري براي برگرداندن نيست.");
}
inline QString redoNothing()
{
    return QCoreApplication::translate("MainWindow", "کاري براي انجام دوباره نيست.");
}
// %1: the step.
inline QString undoDone()
{
    return QCoreApplication::translate("MainWindow", "برگردانده شد: %1");
}
inline QString redoDone()
{
    return QCoreApplication::translate("MainWindow", "دوباره انجام شد: %1");
}
// %1: the step. Nothing was done, and the step can be tried again later.
inline QString undoRefused()
{
    return QCoreApplication::translate(
        "MainWindow",
        "«%1» برگردانده نشد: کس ديگري در اين فاصله شماره را تغيير داده يا حذف کرده است.");
}
inline QString redoRefused()
{
    return QCoreApplication::translate(
        "MainWindow",
        "«%1» دوباره انجام نشد: کس ديگري در اين فاصله شماره را تغيير داده يا حذف کرده است.");
}
inline QString undoFailed()
{
    return QCoreApplication::translate("MainWindow", "کار برگردانده نشد.");
}
inline QString redoFailed()
{
    return QCoreApplication::translate("MainWindow", "کار دوباره انجام نشد.");
}

} // namespace dialvault::mainwindowtexts
