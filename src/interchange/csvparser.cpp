#include "interchange/csvparser.h"

#include "interchange/lineends.h"
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

CsvParser::CsvParser(QStringView text, QChar separator, bool last)
    : m_text(text)
    , m_separator(separator)
    , m_last(last)
{ }

void CsvParser::continueWith(QStringView text, bool last)
{
    m_text = text;
    m_last = last;
    m_at = 0;
    m_needsMore = false;
}

bool CsvParser::needMore(qsizetype at, int line)
{
    if (m_last)
        return false;
    m_needsMore = true;
    m_at = at;
    m_line = line;
    return true;
}

bool CsvParser::atLineBreak() const
{
    return isLineEndAt(m_text, m_at);
}

void CsvParser::skipLineBreak()
{
    m_at += lineEndLength(m_text, m_at);
    ++m_line;
}

void CsvParser::appendQuoted(QString &cell, QStringView chunk)
{
    qsizetype copied = 0;
    for (qsizetype i = 0; i < chunk.size(); ++i) {
        const qsizetype length = lineEndLength(chunk, i);
        if (length == 0)
            continue;
        ++m_line;
        // A run of CRs before an LF is the file's CR LF.
        if (length > 2) {
            cell.append(chunk.sliced(copied, i - copied));
            cell.append(QStringLiteral("\r\n"));
            copied = i + length;
        }
        i += length - 1;
    }
    cell.append(chunk.sliced(copied));
}

bool CsvParser::readQuotedCell(QString &cell)
{
    const int openedOn = m_line;
    ++m_at;
    for (;;) {
        const qsizetype quote = m_text.indexOf(u'"', m_at);
        if (quote < 0) {
            if (!m_last)
                return false;
            m_failure = readFailure(ReadFault::QuoteNeverCloses, openedOn);
            return false;
        }
        appendQuoted(cell, m_text.sliced(m_at, quote - m_at));
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
    if (m_failure || m_needsMore)
        return false;
    if (m_at >= m_text.size()) {
        needMore(m_at, m_line);
        return false;
    }
    const qsizetype begin = m_at;
    const int line = m_line;
    record.cells.clear();
    record.line = m_line;
    for (;;) {
        QString cell;
        if (m_at < m_text.size() && m_text[m_at] == u'"') {
            if (!readQuotedCell(cell)) {
                if (!m_failure)
                    needMore(begin, line);
                return false;
            }
        } else {
            const qsizetype start = m_at;
            while (m_at < m_text.size() && m_text[m_at] != m_separator && !atLineBreak())
                ++m_at;
            cell = m_text.sliced(start, m_at - start).toString();
        }
        record.cells.append(cell);
        // Only the file's last line ends without a line break.
        if (m_at >= m_text.size())
            return !needMore(begin, line);
        if (m_text[m_at] == m_separator) {
            ++m_at;
            continue;
        }
        skipLineBreak();
        return true;
    }
}

} // namespace dialvault
