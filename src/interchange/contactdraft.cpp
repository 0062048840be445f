#include "interchange/contactdraft.h"

namespace dialvault {

namespace {

QString joinedParts(const QStringList &parts)
{
    QString joined;
    for (const QString &part : parts) {
        if (part.isEmpty())
            continue;
        if (!joined.isEmpty())
            joined.append(u' ');
        joined.append(part);
    }
    return joined;
}

QString chosenName(const ContactDraft &draft)
{
    if (!draft.formattedName.isEmpty())
        return draft.formattedName;
    if (QString name = joinedParts(draft.structuredName); !name.isEmpty())
        return name;
    if (!draft.displayName.isEmpty())
        return draft.displayName;
    return joinedParts(draft.firstMiddleLast);
}

qsizetype chosenNumber(const QList<DraftNumber> &numbers)
{
    qsizetype preferred = -1;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const int rank = numbers[i].preference;
        if (rank > 0 && (preferred < 0 || rank < numbers[preferred].preference))
            preferred = i;
    }
    if (preferred >= 0)
        return preferred;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        if (numbers[i].mobile)
            return i;
    }
    return numbers.isEmpty() ? -1 : 0;
}

} // namespace

std::optional<ImportedEntry> entryFromDraft(const ContactDraft &draft)
{
    QList<DraftNumber> numbers;
    for (const DraftNumber &number : draft.numbers) {
        if (!number.number.isEmpty())
            numbers.append(number);
    }
    ImportedEntry entry{chosenName(draft), QString(), draft.note};
    const qsizetype chosen = chosenNumber(numbers);
    if (entry.name.isEmpty() && chosen < 0)
        return std::nullopt;
    // The added lines break the way the note's own lines do.
    const QString lineBreak = draft.note.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n")
                                                                          : QStringLiteral("\n");
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        if (i == chosen) {
            entry.phone = numbers[i].number;
            continue;
        }
        if (!entry.note.isEmpty())
            entry.note.append(lineBreak);
        if (!numbers[i].label.isEmpty())
            entry.note.append(numbers[i].label + QStringLiteral(": "));
        entry.note.append(numbers[i].number);
    }
    return entry;
}

} // namespace dialvault
