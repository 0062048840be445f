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

} // namespace dialvault::mainwindowtexts
