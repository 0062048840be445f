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
class CsvParser
{
public:
    CsvParser(QStringView text, QChar separator);

    // The next record; false at the end of the text or on a fault.
    bool next(CsvRecord &record);
    const std::optional<ReadFailure> &failure() const { return m_failure; }

private:
    bool atLineBreak() const;
    void skipLineBreak();
    bool readQuotedCell(QString &cell);
    // Appends a quoted cell's text up to a quote, counting its lines.
    void appendQuoted(QString &cell, QStringView chunk);

    QStringView m_text;
    QChar m_separator;
    qsizetype m_at = 0;
    int m_line = 1;
    std::optional<ReadFailure> m_failure;
};

} // namespace dialvault
