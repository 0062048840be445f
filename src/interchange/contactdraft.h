#pragma once

#include "interchange/readresult.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace dialvault {

// One number of a card or row, with what the file says about it.
struct DraftNumber
{
    QString number;
    QString label; // its type or label for the note, "_$!<Mobile>!$_" or "Mobile"; may be empty
    bool mobile = false;
    int preference = 0; // 0: not marked; otherwise lower is more preferred
};

// Everything of one card or row that an entry is made from, before the
// choices between names and numbers are made.
struct ContactDraft
{
    QString formattedName;
    QStringList structuredName; // given, additional, family
    QString displayName;
    QStringList firstMiddleLast;
    QList<DraftNumber> numbers; // in file order
    QString note;
};

// The entry a draft gives. Name: the formatted name, else the structured
// name's parts, else the display name, else first, middle and last name.
// Phone: the most preferred number, else the first mobile, else the first.
// Every other number goes into the note on a line of its own, after its
// label, so nothing is dropped; a number given twice is kept once. Names,
// parts and numbers are trimmed (trimmedText()) first, so a name of spaces
// is no name. No entry when there is neither a name nor a number.
std::optional<ImportedEntry> entryFromDraft(ContactDraft draft);

} // namespace dialvault
