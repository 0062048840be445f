#include "interchange/csvparser.h"

#include "interchange/readfault.h"

#include <array>

namespace dialvault {

QChar csvSeparator(QStringView text)
{
    const std::array<QChar, 3> candidates{u',', u';', u'\t'};
    std::array<int, 3> counts{};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (!quoted && c == candidates[i])
                ++counts[i];
        }
    }
    size_t best = 0;
    for (size_t i = 1; i < candidates.size(); ++i) {
        if (counts[i] > counts[best])
            best = i;
    }
    return candidates[best];
}

CsvParser::CsvParser(QStringView text, QChar separator)
    : m_text(text)
    , m_separator(separator)
{ }

bool CsvParser::atLineBreak() const
{
    return m_text[m_at] == u'\n' || m_text[m_at] == u'\r';
}

void CsvParser::skipLineBreak()
{
    if (m_text[m_at] == u'\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == u'\n')
        ++m_at;
    ++m_at;
    ++m_line;
}

void CsvParser::countLineBreaks(QStringView chunk)
{
    for (qsizetype i = 0; i < chunk.size(); ++i) {
        if (chunk[i] == u'\n'
            || (chunk[i] == u'\r' && (i + 1 == chunk.size() || chunk[i + 1] != u'\n')))
            ++m_line;
    }
}

bool CsvParser::readQuotedCell(QString &cell)
{
    const int openedOn = m_line;
    ++m_at;
    for (;;) {
        const qsizetype quote = m_text.indexOf(u'"', m_at);
        if (quote < 0) {
            m_failure = readFailure(ReadFault::QuoteNeverCloses, openedOn);
            return false;
        }
        const QStringView chunk = m_text.sliced(m_at, quote - m_at);
        countLineBreaks(chunk);
        cell.append(chunk);
        m_at = quote + 1;
        if (m_at < m_text.size() && m_text[m_at] == u'"') {
            cell.append(u'"');
            ++m_at;
            continue;
        }
        if (m_at < m_text.size() && m_text[m_at] != m_separator && !atLineBreak()) {
            m_failure = readFailure(ReadFault::TextAfterQuote, m_line);
            return false;
        }
        return true;
    }
}

bool CsvParser::next(CsvRecord &record)
{
    if (m_failure || m_at >= m_text.size())
        return false;
    record.cells.clear();
    record.line = m_line;
    for (;;) {
        QString cell;
        if (m_at < m_text.size() && m_text[m_at] == u'"') {
            if (!readQuotedCell(cell))
                return false;
        } else {
            const qsizetype start = m_at;
            while (m_at < m_text.size() && m_text[m_at] != m_separator && !atLineBreak())
                ++m_at;
            cell = m_text.sliced(start, m_at - start).toString();
        }
        record.cells.append(cell);
        if (m_at >= m_text.size())
            return true;
        if (m_text[m_at] == m_separator) {
            ++m_at;
            continue;
        }
        skipLineBreak();
        return true;
    }
}

} // namespace dialvault
