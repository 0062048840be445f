#include "interchange/readfault.h"

#include <QCoreApplication>

namespace dialvault {

namespace {

// The reason for each fault, translated where the failure is made.
const char *reasonOf(ReadFault fault)
{
    switch (fault) {
    case ReadFault::CannotOpen:
        return QT_TRANSLATE_NOOP("ReadFault", "فايل باز نشد");
    case ReadFault::NotAFile:
        return QT_TRANSLATE_NOOP("ReadFault", "فايل معمولي نيست (دستگاه، لوله يا پوشه است)");
    case ReadFault::TooLarge:
        return QT_TRANSLATE_NOOP("ReadFault", "بزرگ تر از اندازه اي است که وارد مي شود");
    case ReadFault::NotContacts:
        return QT_TRANSLATE_NOOP("ReadFault", "فايل vCard يا CSV نيست");
    case ReadFault::UnknownColumns:
        return QT_TRANSLATE_NOOP("ReadFault", "ستون نام يا تلفن در ميان ستون ها نيست");
    case ReadFault::InvalidBytes:
        return QT_TRANSLATE_NOOP("ReadFault", "بايت هايي که در رمزگذاري فايل متن معتبر نيستند");
    case ReadFault::UnknownCharset:
        return QT_TRANSLATE_NOOP("ReadFault", "مجموعه نويسه ناشناخته");
    case ReadFault::BrokenEncodedValue:
        return QT_TRANSLATE_NOOP("ReadFault", "مقدار quoted-printable يا base64 خراب است");
    case ReadFault::CardNeverEnds:
        return QT_TRANSLATE_NOOP("ReadFault", "کارتي که پايان ندارد");
    case ReadFault::OutsideCard:
        return QT_TRANSLATE_NOOP("ReadFault", "متن بيرون از کارت");
    case ReadFault::NotAProperty:
        return QT_TRANSLATE_NOOP("ReadFault", "سطري که ويژگي vCard نيست");
    case ReadFault::QuoteNeverCloses:
        return QT_TRANSLATE_NOOP("ReadFault", "نقل قولي که بسته نمي شود");
    case ReadFault::TextAfterQuote:
        return QT_TRANSLATE_NOOP("ReadFault", "متن پس از بستن نقل قول");
    case ReadFault::TooManyCells:
        return QT_TRANSLATE_NOOP("ReadFault", "خانه هايي بيش از سطر عنوان");
    }
    return QT_TRANSLATE_NOOP("ReadFault", "خوانده نشد");
}

// The columns as a person reads them back: the first few, quoted.
QString columnList(const QStringList &columns)
{
    constexpr qsizetype shown = 12;
    QStringList quoted;
    constexpr qsizetype longest = 40;
    for (const QString &column : columns.mid(0, shown)) {
        const QString name = column.size() > longest ? column.left(longest) + u'…' : column;
        quoted.append(u'"' + name + u'"');
    }
    if (columns.size() > shown)
        quoted.append(QStringLiteral("…"));
    return quoted.join(QStringLiteral(", "));
}

} // namespace

ReadFailure unknownColumnsFailure(const QStringList &columns)
{
    ReadFailure failure = readFailure(ReadFault::UnknownColumns, 1);
    const QString list = columnList(columns);
    failure.reason = QCoreApplication::translate("ReadFault", "%1: %2",
                                                 "the reason, then the columns the file holds")
                         .arg(failure.reason, list);
    return failure;
}

ReadFailure readFailure(ReadFault fault, int line)
{
    return ReadFailure{QString(), line, fault,
                       QCoreApplication::translate("ReadFault", reasonOf(fault))};
}

} // namespace dialvault
