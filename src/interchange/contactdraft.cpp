#include "interchange/contactdraft.h"

#include "interchange/duplicatekey.h"

#include <QVarLengthArray>

#include <algorithm>

namespace dialvault {

namespace {

QString joinedParts(const QStringList &parts)
{
    QString joined;
    for (const QString &part : parts) {
        const QString trimmed = trimmedText(part);
        if (trimmed.isEmpty())
            continue;
        if (!joined.isEmpty())
            joined.append(u' ');
        joined.append(trimmed);
    }
    return joined;
}

QString chosenName(const ContactDraft &draft)
{
    if (QString name = trimmedText(draft.formattedName); !name.isEmpty())
        return name;
    if (QString name = joinedParts(draft.structuredName); !name.isEmpty())
        return name;
    if (QString name = trimmedText(draft.displayName); !name.isEmpty())
        return name;
    return joinedParts(draft.firstMiddleLast);
}

// Address books wrap their built-in labels as "_$!<Work>!$_".
QString plainLabel(const QString &label)
{
    const QString trimmed = trimmedText(label);
    static const QString open = QStringLiteral("_$!<");
    static const QString close = QStringLiteral(">!$_");
    if (trimmed.startsWith(open) && trimmed.endsWith(close)
        && trimmed.size() > open.size() + close.size())
        return trimmed.mid(open.size(), trimmed.size() - open.size() - close.size());
    return trimmed;
}

// The index of the number that becomes the phone, or -1; empty numbers
// do not count.
qsizetype chosenNumber(const QList<DraftNumber> &numbers)
{
    qsizetype preferred = -1;
    qsizetype mobile = -1;
    qsizetype first = -1;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const DraftNumber &number = numbers[i];
        if (number.number.isEmpty())
            continue;
        if (number.preference > 0
            && (preferred < 0 || number.preference < numbers[preferred].preference))
            preferred = i;
        if (number.mobile && mobile < 0)
            mobile = i;
        if (first < 0)
            first = i;
    }
    return preferred >= 0 ? preferred : mobile >= 0 ? mobile : first;
}

// The digits of a number, of any script, read from its end.
class DigitsFromEnd
{
public:
    explicit DigitsFromEnd(const QString &number)
        : m_number(number)
        , m_at(number.size())
    { }

    // The next digit's value, or -1 at the start.
    int next()
    {
        while (m_at > 0) {
            char32_t c = m_number[--m_at].unicode();
            if (c < 0x80) {
                if (c >= '0' && c <= '9')
                    return int(c - '0');
                continue;
            }
            if (QChar::isLowSurrogate(c) && m_at > 0 && m_number[m_at - 1].isHighSurrogate())
                c = QChar::surrogateToUcs4(m_number[--m_at], QChar(c));
            if (const int value = QChar::digitValue(c); value >= 0)
                return value;
        }
        return -1;
    }

    bool atStart()
    {
        const qsizetype at = m_at;
        const bool none = next() < 0;
        m_at = at;
        return none;
    }

private:
    const QString &m_number;
    qsizetype m_at;
};

// Equal digits (phoneDigits()) are one number written twice: "+98 912 …"
// and "0912 …". Only a number's first digits may be written otherwise, so
// two numbers that differ before the first digit of either are two: most
// pairs are told apart so, without working out all their digits.
bool sameNumber(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    DigitsFromEnd first(a);
    DigitsFromEnd second(b);
    for (;;) {
        const int one = first.next();
        const int other = second.next();
        if (one < 0 || other < 0)
            break;
        if (one != other) {
            if (!first.atStart() && !second.atStart())
                return false;
            break;
        }
    }
    const QString digits = phoneDigits(a);
    return !digits.isEmpty() && digits == phoneDigits(b);
}

} // namespace

std::optional<ImportedEntry> entryFromDraft(ContactDraft draft)
{
    QList<DraftNumber> &numbers = draft.numbers;
    for (DraftNumber &number : numbers)
        number.number = trimmedText(number.number);
    ImportedEntry entry{chosenName(draft), QString(), draft.note};
    const qsizetype chosen = chosenNumber(numbers);
    if (entry.name.isEmpty() && chosen < 0)
        return std::nullopt;
    // The added lines break the way the note's own lines do.
    const QString lineBreak = draft.note.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n")
                                                                          : QStringLiteral("\n");
    QVarLengthArray<const QString *, 4> kept;
    if (chosen >= 0) {
        entry.phone = numbers[chosen].number;
        kept.append(&entry.phone);
    }
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const QString &number = numbers[i].number;
        if (i == chosen || number.isEmpty())
            continue;
        // A card that gives one number twice (as mobile and as preferred,
        // say) has one number.
        if (std::any_of(kept.begin(), kept.end(),
                        [&](const QString *known) { return sameNumber(*known, number); }))
            continue;
        kept.append(&number);
        if (!entry.note.isEmpty())
            entry.note.append(lineBreak);
        if (const QString label = plainLabel(numbers[i].label); !label.isEmpty())
            entry.note.append(label + QStringLiteral(": "));
        entry.note.append(numbers[i].number);
    }
    // Empty, never null: a null text would be stored as NULL.
    for (QString *text : {&entry.name, &entry.phone, &entry.note}) {
        if (text->isNull())
            *text = QLatin1String("");
    }
    return entry;
}

} // namespace dialvault
