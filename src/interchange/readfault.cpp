#include "interchange/readfault.h"

namespace dialvault {

namespace {

struct Texts
{
    const char16_t *english;
    const char16_t *persian;
};

Texts textsOf(ReadFault fault)
{
    switch (fault) {
    case ReadFault::CannotOpen:
        return {u"the file cannot be opened", u"فايل باز نشد"};
    case ReadFault::NotContacts:
        return {u"not vCard or CSV", u"فايل vCard يا CSV نيست"};
    case ReadFault::UnknownColumns:
        return {u"no name or phone column among the columns",
                u"ستون نام يا تلفن در ميان ستون ها نيست"};
    case ReadFault::InvalidBytes:
        return {u"bytes that are not valid text in the file's encoding",
                u"بايت هايي که در رمزگذاري فايل متن معتبر نيستند"};
    case ReadFault::UnknownCharset:
        return {u"an unknown character set", u"مجموعه نويسه ناشناخته"};
    case ReadFault::BrokenEncodedValue:
        return {u"a quoted-printable or base64 value that does not decode",
                u"مقدار quoted-printable يا base64 خراب است"};
    case ReadFault::CardNeverEnds:
        return {u"a card that never ends", u"کارتي که پايان ندارد"};
    case ReadFault::OutsideCard:
        return {u"text outside a card", u"متن بيرون از کارت"};
    case ReadFault::NotAProperty:
        return {u"a line that is not a vCard property", u"سطري که ويژگي vCard نيست"};
    case ReadFault::QuoteNeverCloses:
        return {u"a quoted cell that never closes", u"نقل قولي که بسته نمي شود"};
    case ReadFault::TextAfterQuote:
        return {u"text after a closing quote", u"متن پس از بستن نقل قول"};
    case ReadFault::TooManyCells:
        return {u"more cells than the header row has", u"خانه هايي بيش از سطر عنوان"};
    }
    return {u"unreadable", u"خوانده نشد"};
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
    failure.reason += QStringLiteral(" ") + list;
    failure.reasonFa += QStringLiteral(": ") + list;
    return failure;
}

ReadFailure readFailure(ReadFault fault, int line)
{
    const Texts texts = textsOf(fault);
    return ReadFailure{QString(), line, fault, QString::fromUtf16(texts.english),
                       QString::fromUtf16(texts.persian)};
}

} // namespace dialvault
