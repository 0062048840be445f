#include "store/searchkeys.h"

#include <QList>

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

// The pairs of several lists, in their order, as one table looked up for
// each character: a single pass over a text does what a pass for each pair
// would, since no pair's result is another pair's character. ASCII capitals
// may be lowered last.
class CharacterFold
{
public:
    CharacterFold(std::initializer_list<std::span<const SearchKeys::Replacement>> lists,
                  bool lowerAscii)
    {
        for (const auto &list : lists) {
            for (const auto &[from, to] : list) {
                if (from.unicode() >= m_to.size())
                    m_to.resize(from.unicode() + 1, keep);
                // A character is replaced by the first pair that names it.
                if (m_to[from.unicode()] == keep)
                    m_to[from.unicode()] = to.isEmpty() ? drop : to.front().unicode();
            }
        }
        if (lowerAscii) {
            for (char16_t c = u'A'; c <= u'Z'; ++c)
                m_to[c] = c + (u'a' - u'A');
        }
    }

    QString apply(const QString &text) const
    {
        qsizetype first = 0;
        while (first < text.size() && to(text[first].unicode()) == keep)
            ++first;
        // Most texts need nothing: the same text, not a copy.
        if (first == text.size())
            return text;
        QString folded;
        folded.reserve(text.size());
        folded.append(QStringView(text).first(first));
        for (qsizetype i = first; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            const char16_t mapped = to(c);
            if (mapped == keep)
                folded.append(QChar(c));
            else if (mapped != drop)
                folded.append(QChar(mapped));
        }
        return folded;
    }

private:
    static constexpr char16_t keep = 0;
    static constexpr char16_t drop = 0xFFFF;

    char16_t to(char16_t c) const { return c < m_to.size() ? m_to[c] : keep; }

    std::vector<char16_t> m_to = std::vector<char16_t>(128, keep); // by code unit
};

} // namespace

QString foldedName(const QString &name)
{
    static const CharacterFold fold({SearchKeys::nameReplacements()}, true);
    return fold.apply(name);
}

QString storedNumberDigits(const QString &phone)
{
    static const CharacterFold fold({SearchKeys::numberScriptReplacements(),
                                     SearchKeys::uncommonSeparatorRemovals(),
                                     SearchKeys::commonSeparatorRemovals()},
                                    false);
    QString digits = fold.apply(phone);
    // The column marks the start with U+0001 to replace a prefix with
    // replace(), which knows no anchors, and then removes every U+0001.
    const QChar start(1);
    if (digits.contains(start)) {
        digits.prepend(start);
        digits.replace(start + QStringLiteral("+98"), start + QStringLiteral("0"));
        digits.replace(start + QStringLiteral("0098"), start + QStringLiteral("0"));
        digits.remove(start);
    } else {
        if (digits.startsWith(QStringLiteral("+98")))
            digits.replace(0, 3, u'0');
        if (digits.startsWith(QStringLiteral("0098")))
            digits.replace(0, 4, u'0');
    }
    if (digits.contains(u'+'))
        digits.remove(u'+');
    return digits;
}

QString numberDigits(const QString &phone)
{
    QString digits;
    digits.reserve(phone.size());
    bool plusFirst = false;
    for (qsizetype i = 0; i < phone.size(); ++i) {
        char32_t c = phone[i].unicode();
        if (c >= u'0' && c <= u'9') {
            digits.append(QChar(char16_t(c)));
            continue;
        }
        if (c < 0x80) {
            plusFirst = plusFirst || (c == u'+' && digits.isEmpty());
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < phone.size() && phone[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), phone[++i].unicode());
        if (QChar::category(c) == QChar::Number_DecimalDigit)
            digits.append(QChar(u'0' + QChar::digitValue(c)));
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
