#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace dialvault {

// What a CSV column holds, by its header name.
enum class CsvRole {
    Ignored,
    FormattedName,
    Given,
    Additional,
    Family,
    DisplayName,
    First,
    Middle,
    Last,
    Note,
    Number,
    NumberType, // the type of a numbered phone column ("Phone 1 - Type")
};

struct CsvColumn
{
    CsvRole role = CsvRole::Ignored;
    // For a number column: the label its numbers carry into the note, and
    // what the column says about them.
    QString label;
    bool mobile = false;
    bool preferred = false;
    // Web mail exports join several numbers of one type with " ::: ";
    // the program's own column holds the number exactly as stored.
    bool splitsJoinedNumbers = true;
    qsizetype typeColumn = -1; // the column naming this number's type, if any
};

// The columns of a header row: the web mail, desktop mail and mail program
// exports, and the program's own four fields. Names are matched trimmed,
// with letter case and Persian letter forms folded.
QList<CsvColumn> csvColumns(const QStringList &header);

// True when the columns hold a name or a number: a contacts file.
bool holdsContacts(const QList<CsvColumn> &columns);

} // namespace dialvault
