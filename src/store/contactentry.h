#pragma once

#include <QString>

namespace dialvault {

// One row of table `test`. Texts are stored exactly as typed.
struct ContactEntry
{
    QString name; // "نام"
    QString phone; // "تلفن"
    QString note; // "يادداشت"
    double rowNumber{}; // "رديف"
};

// What a search shows of the first matching entry.
struct PhoneAndNote
{
    QString phone;
    QString note;
};

} // namespace dialvault
