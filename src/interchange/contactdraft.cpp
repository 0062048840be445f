#include "interchange/contactdraft.h"

#include "interchange/duplicatekey.h"

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

// Equal digits are one number written twice ("+98 912 …" and "0912 …");
// a number without digits is the same only as the same text.
QString sameNumberKey(const QString &number)
{
    const QString digits = phoneDigits(number);
    return digits.isEmpty() ? u'\0' + number : digits;
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
    QStringList kept;
    if (chosen >= 0) {
        entry.phone = numbers[chosen].number;
        kept.append(sameNumberKey(entry.phone));
    }
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        if (i == chosen || numbers[i].number.isEmpty())
            continue;
        // A card that gives one number twice (as mobile and as preferred,
        // say) has one number.
        const QString key = sameNumberKey(numbers[i].number);
        if (kept.contains(key))
            continue;
        kept.append(key);
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
