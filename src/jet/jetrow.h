#pragma once

#include <QString>

#include <optional>

namespace dialvault {

// One row of a Jet table `test`, exactly as stored: a null QString is a NULL
// field, a non-null empty one the empty text.
struct JetRow
{
    QString name; // "نام"
    QString phone; // "تلفن"
    QString note; // "يادداشت"
    std::optional<double> rowNumber; // "رديف"

    friend bool operator==(const JetRow &, const JetRow &) = default;
};

} // namespace dialvault
