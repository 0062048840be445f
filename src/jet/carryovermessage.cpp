#include "jet/carryovermessage.h"

#include "words/interfacelanguage.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>

namespace dialvault {

namespace {

// In Persian digits where the texts are Persian.
QString shownNumber(qsizetype number)
{
    QString text = QString::number(number);
    if (languageInUse() != InterfaceLanguage::Persian)
        return text;
    for (QChar &c : text) {
        if (c.isDigit())
            c = QChar(u'\u06F0' + (c.unicode() - u'0'));
    }
    return text;
}

} // namespace

QString carriedOverMessage(const CarryOver &carryOver)
{
    // The count picks the singular or the plural; arg() writes it.
    const int form = int(std::min<qsizetype>(carryOver.entries, INT_MAX));
    return QCoreApplication::translate("CarryOver",
                                       "%1 شماره از پرونده قديمي به دفترچه منتقل شد. پرونده "
                                       "قديمي با نام «%2» نگه داشته شد.",
                                       nullptr, form)
        .arg(shownNumber(carryOver.entries), carryOver.backupName);
}

} // namespace dialvault
