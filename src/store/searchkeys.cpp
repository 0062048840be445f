#include "store/searchkeys.h"

#include <QList>

#include <initializer_list>
#include <vector>

namespace dialvault {

namespace SearchKeys {

namespace {

void appendDigits(std::vector<Replacement> &pairs)
{
    for (char16_t digit = 0; digit < 10; ++digit) {
        pairs.emplace_back(QChar(u'\u06F0' + digit), QString(QChar(u'0' + digit)));
        pairs.emplace_back(QChar(u'\u0660' + digit), QString(QChar(u'0' + digit)));
    }
}

std::vector<Replacement> removals(std::initializer_list<char16_t> characters)
{
    std::vector<Replacement> pairs;
    for (const char16_t c : characters)
        pairs.emplace_back(QChar(c), QString());
    return pairs;
}

} // namespace

std::span<const Replacement> nameReplacements()
{
    // Persian keyboards type U+06CC and U+06A9 where older Arabic-form data
    // has U+064A and U+0643; digits come in three scripts.
    static const std::vector<Replacement> pairs = [] {
        std::vector<Replacement> list{
            {QChar(0x06CC), QString(QChar(0x064A))}, // Persian yeh
            {QChar(0x0649), QString(QChar(0x064A))}, // alef maksura
            {QChar(0x06A9), QString(QChar(0x0643))}, // keheh
        };
        appendDigits(list);
        return list;
    }();
    return pairs;
}

std::span<const Replacement> numberScriptReplacements()
{
    static const std::vector<Replacement> pairs = [] {
        std::vector<Replacement> list;
        appendDigits(list);
        return list;
    }();
    return pairs;
}

std::span<const Replacement> uncommonSeparatorRemovals()
{
    static const std::vector<Replacement> pairs = removals({
        0x200E, 0x200F, 0x061C, // left-to-right, right-to-left and Arabic letter marks
        0x202A, 0x202B, 0x202C, 0x202D, 0x202E, // embeddings and overrides
        0x2066, 0x2067, 0x2068, 0x2069, // isolates
        0x00A0, 0x202F, // no-break and narrow no-break space
        u'[',   u']',   0x2011, 0x2013, 0x2212, // non-breaking hyphen, en dash, minus sign
    });
    return pairs;
}

std::span<const Replacement> commonSeparatorRemovals()
{
    static const std::vector<Replacement> pairs = removals({u' ', u'-', u'.', u'(', u')'});
    return pairs;
}

} // namespace SearchKeys

namespace {

// What each UTF-16 unit becomes under a list of single-unit replacements,
// applied in one pass: the lists never make a character that a later one
// would replace again, so one pass gives what applying them in turn gives.
class UnitMap
{
public:
    static constexpr char16_t removed = 0xFFFF; // not a character

    explicit UnitMap(std::initializer_list<std::span<const SearchKeys::Replacement>> lists)
        : m_units(0x10000)
    {
        for (std::size_t unit = 0; unit < m_units.size(); ++unit)
            m_units[unit] = char16_t(unit);
        for (const auto &list : lists) {
            for (const auto &[from, to] : list)
                m_units[from.unicode()] = to.isEmpty() ? removed : to.at(0).unicode();
        }
    }

    QString applied(const QString &text) const
    {
        QString out(text.size(), Qt::Uninitialized);
        qsizetype length = 0;
        for (const QChar c : text) {
            const char16_t unit = m_units[c.unicode()];
            if (unit != removed || c.unicode() == removed)
                out[length++] = QChar(unit == removed ? c.unicode() : unit);
        }
        out.truncate(length);
        return out;
    }

private:
    std::vector<char16_t> m_units;
};

} // namespace

QString foldedName(const QString &name)
{
    static const UnitMap map = [] {
        static std::vector<SearchKeys::Replacement> upperToLower;
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            upperToLower.emplace_back(QChar(c), QString(QChar(c + (u'a' - u'A'))));
        return UnitMap{SearchKeys::nameReplacements(), upperToLower};
    }();
    return name.isNull() ? QString() : map.applied(name);
}

QString storedNumberDigits(const QString &phone)
{
    static const UnitMap map{SearchKeys::numberScriptReplacements(),
                             SearchKeys::uncommonSeparatorRemovals(),
                             SearchKeys::commonSeparatorRemovals()};
    QString digits = phone.isNull() ? QString() : map.applied(phone);
    // The column marks the start with U+0001 to replace a prefix with
    // replace(), which knows no anchors; the same steps here, one by one.
    const QChar start(1);
    digits.prepend(start);
    digits.replace(start + QStringLiteral("+98"), start + QStringLiteral("0"));
    digits.replace(start + QStringLiteral("0098"), start + QStringLiteral("0"));
    digits.remove(start);
    digits.remove(u'+');
    return digits;
}

QString numberDigits(const QString &phone)
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

bool isNumberSeparator(QChar c)
{
    if (c == u'+')
        return true;
    for (const auto &list :
         {SearchKeys::uncommonSeparatorRemovals(), SearchKeys::commonSeparatorRemovals()}) {
        for (const auto &[from, to] : list) {
            if (from == c && to.isEmpty())
                return true;
        }
    }
    return false;
}

} // namespace dialvault
