#include "store/contactlistrow.h"

#include <QLocale>

#include <cmath>

namespace dialvault {

QString rowNumberText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double: {
        const double number = value.toDouble();
        // Below 10^15 every whole double is exact in 15 digits, so plain
        // digits are both exact and what a person expects of a row number.
        if (std::trunc(number) == number && std::abs(number) < 1e15)
            return QString::number(qint64(number));
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    }
    default:
        return value.toString();
    }
}

} // namespace dialvault
