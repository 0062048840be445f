#include "jet/carryovermessage.h"

namespace dialvault {

namespace {

QString persianDigits(qsizetype number)
{
    QString text = QString::number(number);
    for (QChar &c : text) {
        if (c.isDigit())
            c = QChar(u'\u06F0' + (c.unicode() - u'0'));
    }
    return text;
}

} // namespace

QString carriedOverMessage(const CarryOver &carryOver)
{
    return QStringLiteral("%1 شماره از پرونده قديمي به دفترچه منتقل شد. پرونده قديمي با نام «%2» "
                          "نگه داشته شد.")
        .arg(persianDigits(carryOver.entries), carryOver.backupName);
}

} // namespace dialvault
