#pragma once

#include <QString>

// The main window's messages, exactly as the user sees them (letter forms
// included: ي U+064A, ك U+0643 and ک U+06A9 are kept apart on purpose).
namespace dialvault::mainwindowtexts {

inline const QString exitQuestion = QStringLiteral("آيا مطمئن هستيد که ميخواهيد خارج شويد؟");
inline const QString exitTitle = QStringLiteral("Exit");

inline const QString searchNeedsName = QStringLiteral("براي جستجو نام را وارد کنيد");
inline const QString searchNotFound = QStringLiteral("براي اين نام شماره اي وجود ندرد.");

inline const QString addNeedsName
    = QStringLiteral("براي اضافه کردن ابتدا نام و شماره تلفن را وارد کنيد");
inline const QString addNeedsPhone = QStringLiteral("لطفا شماره را وارد کنيد");
inline const QString addStored = QStringLiteral("شماره شما با موفقيت ثبت شد.");
inline const QString addStoredTitle = QStringLiteral("اضافه كردن شماره");

inline const QString deleteNeedsName = QStringLiteral("براي حذف كردن ابتدا نام را وارد كنيد");
inline const QString deleteNotFound
    = QStringLiteral("شماره اي براي اين نام وجود ندارد تا حذف شود.");

// What the window says when the phone book refuses an operation; the cause
// and the engine's own words follow on lines of their own.
inline const QString startupFailed = QStringLiteral("دفترچه تلفن باز نشد.");
inline const QString addNotStored = QStringLiteral("اين شماره ذخيره نشد.");
inline const QString addOutcomeUnknown = QStringLiteral("معلوم نيست اين شماره ذخيره شد يا نه.");
// %1: the name of the entry.
inline const QString addSettled
    = QStringLiteral("شماره «%1» که معلوم نبود ذخيره شده يا نه، اکنون در دفترچه تلفن ذخيره است.");
inline const QString searchFailed = QStringLiteral("جستجو انجام نشد.");
inline const QString deleteFailed = QStringLiteral("شماره اي حذف نشد.");
inline const QString refreshFailed = QStringLiteral("تعداد شماره ها به روز نشد.");

// Asked under startupFailed when the phone book holds something of another
// program's: the way out is a phone book made afresh from its entries.
inline const QString repairQuestion
    = QStringLiteral("برنامه مي تواند نام، تلفن، يادداشت و رديف همه شماره ها را به دفترچه تلفن "
                     "تازه اي ببرد و اين پرونده را همان طور که هست در پوشه پشتيبان ها (backups) "
                     "نگه دارد. اين کار انجام شود؟");
// %1: where the file as it was is kept.
inline const QString repairDone
    = QStringLiteral("دفترچه تلفن تازه ساخته شد و همه شماره ها در آن است. پرونده پيشين اينجا "
                     "نگه داشته شد:\n%1");
inline const QString repairFailed
    = QStringLiteral("دفترچه تلفن تازه ساخته نشد؛ پرونده همان طور که بود مانده است.");

} // namespace dialvault::mainwindowtexts
