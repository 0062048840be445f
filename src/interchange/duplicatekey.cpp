#include "interchange/duplicatekey.h"

#include <QList>

namespace dialvault {

QString duplicateKeyName(const QString &name)
{
    QString folded = name;
    for (QChar &c : folded) {
        const char16_t u = c.unicode();
        if (u == 0x06CC || u == 0x0649)
            c = QChar(0x064A);
        else if (u == 0x06A9)
            c = QChar(0x0643);
        else if (u >= 0x06F0 && u <= 0x06F9)
            c = QChar(u'0' + (u - 0x06F0));
        else if (u >= 0x0660 && u <= 0x0669)
            c = QChar(u'0' + (u - 0x0660));
        else if (u >= u'A' && u <= u'Z')
            c = QChar(u + (u'a' - u'A'));
    }
    return folded;
}

QString phoneDigits(const QString &phone)
{
    QString digits;
    bool plusFirst = false;
    for (const uint c : phone.toUcs4()) {
        if (QChar::category(c) == QChar::Number_DecimalDigit)
            digits.append(QChar(u'0' + QChar::digitValue(c)));
        else if (c == U'+' && digits.isEmpty())
            plusFirst = true;
    }
    if (plusFirst && digits.startsWith(QStringLiteral("98")))
        return u'0' + digits.mid(2);
    if (digits.startsWith(QStringLiteral("0098")))
        return u'0' + digits.mid(4);
    return digits;
}

} // namespace dialvault
