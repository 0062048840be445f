#include "store/partquery.h"

#include "store/searchkeys.h"

#include <QList>

namespace dialvault {

namespace {

bool looksLikeNumber(const QString &text)
{
    bool anyDigit = false;
    for (const uint c : text.toUcs4()) {
        if (QChar::category(c) == QChar::Number_DecimalDigit)
            anyDigit = true;
        else if (c > 0xFFFF || !isNumberSeparator(QChar(char16_t(c))))
            return false;
    }
    return anyDigit;
}

} // namespace

PartQuery::PartQuery(const QString &text)
    : m_number(looksLikeNumber(text))
{
    m_key = m_number ? numberDigits(text) : foldedName(text);
}

bool PartQuery::matches(const QString &name, const QString &phone, PartPlace place) const
{
    const QString &text = m_number ? phone : name;
    if (text.isNull() || m_key.isEmpty())
        return false;
    const QString folded = m_number ? storedNumberDigits(text) : foldedName(text);
    return place == PartPlace::Start ? folded.startsWith(m_key) : folded.contains(m_key);
}

QString prefixEnd(const QString &prefix)
{
    QList<uint> codes = prefix.toUcs4();
    while (!codes.isEmpty() && codes.last() >= 0x10FFFF)
        codes.removeLast();
    if (codes.isEmpty())
        return {};
    uint &last = codes.last();
    ++last;
    // Surrogate code points are not characters and UTF-8 has none.
    if (last >= 0xD800 && last <= 0xDFFF)
        last = 0xE000;
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(codes.constData()), codes.size());
}

} // namespace dialvault
