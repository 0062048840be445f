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

} // namespace

std::optional<ImportedEntry> entryFromDraft(const ContactDraft &draft)
{
    const QList<DraftNumber> &numbers = draft.numbers;
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
        if (numbers[i].number.isEmpty())
            continue;
        if (!entry.note.isEmpty())
            entry.note.append(lineBreak);
        if (!numbers[i].label.isEmpty())
            entry.note.append(numbers[i].label + QStringLiteral(": "));
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
