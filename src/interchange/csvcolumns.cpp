#include "interchange/csvcolumns.h"

#include "interchange/duplicatekey.h"

#include <QHash>
#include <QRegularExpression>

namespace dialvault {

namespace {

CsvColumn named(CsvRole role)
{
    CsvColumn column;
    column.role = role;
    return column;
}

const QHash<QString, CsvColumn> &knownColumns()
{
    static const QHash<QString, CsvColumn> columns = [] {
        const auto number = [](const char16_t *label, bool mobile = false, bool preferred = false) {
            CsvColumn column = named(CsvRole::Number);
            column.label = QString::fromUtf16(label);
            column.mobile = mobile;
            column.preferred = preferred;
            return column;
        };
        CsvColumn ownNumber = named(CsvRole::Number);
        ownNumber.splitsJoinedNumbers = false;
        QHash<QString, CsvColumn> known{
            // The program's own fields.
            {QStringLiteral("نام"), named(CsvRole::FormattedName)},
            {QStringLiteral("تلفن"), ownNumber},
            {QStringLiteral("يادداشت"), named(CsvRole::Note)},
            // Names, in every export's words.
            {QStringLiteral("name"), named(CsvRole::FormattedName)},
            {QStringLiteral("full name"), named(CsvRole::FormattedName)},
            {QStringLiteral("given name"), named(CsvRole::Given)},
            {QStringLiteral("additional name"), named(CsvRole::Additional)},
            {QStringLiteral("family name"), named(CsvRole::Family)},
            {QStringLiteral("display name"), named(CsvRole::DisplayName)},
            {QStringLiteral("first name"), named(CsvRole::First)},
            {QStringLiteral("middle name"), named(CsvRole::Middle)},
            {QStringLiteral("last name"), named(CsvRole::Last)},
            {QStringLiteral("notes"), named(CsvRole::Note)},
            {QStringLiteral("note"), named(CsvRole::Note)},
            // Desktop mail.
            {QStringLiteral("mobile phone"), number(u"mobile", true)},
            {QStringLiteral("primary phone"), number(u"primary", false, true)},
            {QStringLiteral("business phone"), number(u"work")},
            {QStringLiteral("business phone 2"), number(u"work")},
            {QStringLiteral("home phone"), number(u"home")},
            {QStringLiteral("home phone 2"), number(u"home")},
            {QStringLiteral("other phone"), number(u"other")},
            {QStringLiteral("company main phone"), number(u"company")},
            {QStringLiteral("car phone"), number(u"car")},
            {QStringLiteral("assistant's phone"), number(u"assistant")},
            {QStringLiteral("callback"), number(u"callback")},
            {QStringLiteral("radio phone"), number(u"radio")},
            {QStringLiteral("isdn"), number(u"isdn")},
            {QStringLiteral("telex"), number(u"telex")},
            {QStringLiteral("tty/tdd phone"), number(u"tty")},
            {QStringLiteral("business fax"), number(u"work fax")},
            {QStringLiteral("home fax"), number(u"home fax")},
            {QStringLiteral("other fax"), number(u"other fax")},
            {QStringLiteral("pager"), number(u"pager")},
            // Mail program.
            {QStringLiteral("work phone"), number(u"work")},
            {QStringLiteral("mobile number"), number(u"mobile", true)},
            {QStringLiteral("fax number"), number(u"fax")},
            {QStringLiteral("pager number"), number(u"pager")},
        };
        return known;
    }();
    return columns;
}

} // namespace

QList<CsvColumn> csvColumns(const QStringList &header)
{
    static const QRegularExpression numbered(QStringLiteral("^phone (\\d+) - (value|type|label)$"));
    QList<CsvColumn> columns;
    QHash<QString, qsizetype> typeColumns; // by the phone's index in its header name
    QStringList valueIndexes; // the phone's index for each value column, else empty
    for (const QString &name : header) {
        const QString key = duplicateKeyName(name.trimmed());
        const QRegularExpressionMatch match = numbered.match(key);
        if (!match.hasMatch()) {
            columns.append(knownColumns().value(key));
            valueIndexes.append(QString());
            continue;
        }
        const bool isValue = match.captured(2) == QStringLiteral("value");
        if (!isValue)
            typeColumns.insert(match.captured(1), columns.size());
        columns.append(named(isValue ? CsvRole::Number : CsvRole::NumberType));
        valueIndexes.append(isValue ? match.captured(1) : QString());
    }
    // The type column may stand before or after its value.
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (!valueIndexes[i].isEmpty())
            columns[i].typeColumn = typeColumns.value(valueIndexes[i], -1);
    }
    return columns;
}

bool holdsContacts(const QList<CsvColumn> &columns)
{
    for (const CsvColumn &column : columns) {
        switch (column.role) {
        case CsvRole::FormattedName:
        case CsvRole::Given:
        case CsvRole::Additional:
        case CsvRole::Family:
        case CsvRole::DisplayName:
        case CsvRole::First:
        case CsvRole::Middle:
        case CsvRole::Last:
        case CsvRole::Number:
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace dialvault
