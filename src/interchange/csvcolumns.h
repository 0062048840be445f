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
    // Fax, pager, telex and their kind: a file is not taken for them alone.
    bool secondary = false;
    // The program's own column holds the number exactly as stored: never
    // split, and kept whatever it holds. Other exports' number columns join
    // several numbers of one type with " ::: ", and a cell without a digit
    // in them is no number.
    bool ownField = false;
    // "نام" is the whole name in the program's own file, but the first name
    // beside a last name column.
    bool firstBesideLast = false;
    qsizetype typeColumn = -1; // the column naming this number's type, if any
};

// The columns of a header row: the web mail, desktop mail and mail program
// exports in English, German, French, Spanish, Italian, Dutch, Portuguese,
// Russian, Turkish, Arabic and Persian, and the program's own four fields.
// Names are matched trimmed, without letter case, accents or Persian letter
// forms.
QList<CsvColumn> csvColumns(const QStringList &header);

// True when the columns hold a name or a telephone number: a contacts file.
bool holdsContacts(const QList<CsvColumn> &columns);

// How many of the columns are known.
qsizetype knownColumnCount(const QList<CsvColumn> &columns);

} // namespace dialvault
