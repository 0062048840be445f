#pragma once

#include "interchange/readresult.h"

#include <QStringList>
#include <QStringView>

#include <optional>

namespace dialvault {

// One record of a CSV file and the line it starts on.
struct CsvRecord
{
    QStringList cells;
    int line = 0;
};

// The separator of a CSV text: whichever of comma, semicolon and tab occurs
// most often outside quotes in its first line (comma on a tie or none).
QChar csvSeparator(QStringView text);

// Reads RFC 4180 records: a cell that starts with a double quote runs to the
// closing quote, holding separators, line breaks and doubled quotes; records
// end where lineEndLength() says a line does. Cells are kept exactly, quotes
// aside, but for a run of CRs before an LF in a quoted cell, which is CR LF.
//
// A text that is not `last` is followed by more (whole lines, the text of
// the next piece of the file): a record it ends inside of is read once the
// rest is there, continueWith().
class CsvParser
{
public:
    CsvParser(QStringView text, QChar separator, bool last = true);

    // The next record; false at the end of the text, on a fault, and when
    // more text is needed.
    bool next(CsvRecord &record);
    const std::optional<ReadFailure> &failure() const { return m_failure; }
    bool needsMore() const { return m_needsMore; }
    // What is left unread of the text: the record that needs more.
    QStringView unread() const { return m_text.sliced(m_at); }
    // Reads on in `text`, which begins with what unread() was.
    void continueWith(QStringView text, bool last);

private:
    bool atLineBreak() const;
    void skipLineBreak();
    // False when the cell does not close: a fault, or more text is needed.
    bool readQuotedCell(QString &cell);
    // Appends a quoted cell's text up to a quote, counting its lines.
    void appendQuoted(QString &cell, QStringView chunk);
    // The record begun at `at` on `line` ends past the text.
    bool needMore(qsizetype at, int line);

    QStringView m_text;
    QChar m_separator;
    bool m_last;
    qsizetype m_at = 0;
    int m_line = 1;
    bool m_needsMore = false;
    std::optional<ReadFailure> m_failure;
};

} // namespace dialvault
