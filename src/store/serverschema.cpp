#include "store/serverschema.h"

#include "store/searchkeys.h"

namespace dialvault::ServerSchema {

namespace {

QString literal(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\'', QStringLiteral("''"));
    return u'\'' + escaped + u'\'';
}

// translate() maps the i-th character of `from` to the i-th of `to` and
// removes those past the end of `to`: the replacements come first, then the
// removals.
QString translation(const QString &operand,
                    std::initializer_list<std::span<const SearchKeys::Replacement>> lists)
{
    QString from;
    QString to;
    QString removed;
    for (const auto &list : lists) {
        for (const auto &[character, replacement] : list) {
            if (replacement.isEmpty()) {
                removed += character;
            } else {
                from += character;
                to += replacement;
            }
        }
    }
    return QStringLiteral("translate(%1, %2, %3)")
        .arg(operand, literal(from + removed), literal(to));
}

} // namespace

QString foldedNameExpression(const QString &operand)
{
    return QStringLiteral("lower(%1 COLLATE \"C\")")
        .arg(translation(operand, {SearchKeys::nameReplacements()}));
}

QString phoneDigitsExpression(const QString &phone)
{
    const QString bare = translation(phone,
                                     {SearchKeys::numberScriptReplacements(),
                                      SearchKeys::uncommonSeparatorRemovals(),
                                      SearchKeys::commonSeparatorRemovals()});
    // A leading +98, then a leading 0098 (in this order, as the stored
    // digits take them), becomes 0; then every + goes.
    return QStringLiteral("replace(regexp_replace(regexp_replace(%1, '^[+]98', '0'), '^0098', "
                          "'0'), '+', '')")
        .arg(bare);
}

QString countStatement()
{
    return QStringLiteral("SELECT sum(n)::bigint FROM %1").arg(countTable);
}

QString right(const char *privilege, const QString &object)
{
    return QStringLiteral("%1 ON %2").arg(QLatin1String(privilege), object);
}

} // namespace dialvault::ServerSchema
