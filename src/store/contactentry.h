#pragma once

#include <QString>

#include <optional>

namespace dialvault {

// One row of table `test`. Texts are stored exactly as typed.
struct ContactEntry
{
    QString name; // "نام"
    QString phone; // "تلفن"
    QString note; // "يادداشت"
    double rowNumber{}; // "رديف"
};

// One row of table `test` exactly as stored: a null QString is a NULL field,
// a non-null empty one the empty text, and a missing row number is NULL.
struct ExactEntry
{
    QString name;
    QString phone;
    QString note;
    std::optional<double> rowNumber;

    friend bool operator==(const ExactEntry &, const ExactEntry &) = default;
};

// What a search shows of the first matching entry.
struct PhoneAndNote
{
    QString phone;
    QString note;
};

} // namespace dialvault
