#include "interchange/unfoldedlines.h"

#include <algorithm>

namespace dialvault {

UnfoldedLines::UnfoldedLines(QByteArrayView bytes)
{
    m_text.reserve(bytes.size());
    qsizetype logicalBegin = -1;
    bool softBreak = false;
    int line = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        ++line;
        qsizetype end = bytes.indexOf('\n', at);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        if (end > at && bytes[end - 1] == '\r')
            --end;
        QByteArrayView piece = bytes.sliced(at, end - at);
        at = next;

        const bool folded = !piece.isEmpty() && (piece[0] == ' ' || piece[0] == '\t');
        if (logicalBegin >= 0 && softBreak) {
            m_text.chop(1); // the "=" of the soft break
        } else if (logicalBegin >= 0 && folded) {
            piece = piece.sliced(1);
        } else {
            if (logicalBegin >= 0)
                m_text.append('\n');
            logicalBegin = m_text.size();
        }
        appendPiece(piece, line);
        softBreak = endsInSoftBreak(logicalBegin);
    }
}

void UnfoldedLines::appendPiece(QByteArrayView piece, int line)
{
    m_pieceStarts.emplace_back(m_text.size(), line);
    m_text.append(piece);
}

bool UnfoldedLines::endsInSoftBreak(qsizetype logicalBegin) const
{
    if (!m_text.endsWith('='))
        return false;
    const QByteArrayView logical = QByteArrayView(m_text).sliced(logicalBegin);
    const qsizetype colon = propertyColon(logical);
    if (colon < 0)
        return false;
    return logical.first(colon).toByteArray().toUpper().contains("QUOTED-PRINTABLE");
}

int UnfoldedLines::lineAt(qsizetype offset) const
{
    const auto after
        = std::upper_bound(m_pieceStarts.begin(), m_pieceStarts.end(), offset,
                           [](qsizetype value, const std::pair<qsizetype, int> &start) {
                               return value < start.first;
                           });
    return after == m_pieceStarts.begin() ? 1 : std::prev(after)->second;
}

qsizetype propertyColon(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return -1;
}

} // namespace dialvault
