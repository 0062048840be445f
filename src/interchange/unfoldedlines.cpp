#include "interchange/unfoldedlines.h"

#include "interchange/lineends.h"

#include <algorithm>
#include <cstring>

namespace dialvault {

namespace {

// True when the parameters of the (partial) logical line name quoted-printable.
bool isQuotedPrintable(QByteArrayView logical)
{
    const qsizetype colon = propertyColon(logical);
    if (colon < 0)
        return false;
    const QByteArrayView word = "QUOTED-PRINTABLE";
    for (qsizetype i = 0; i + word.size() <= colon; ++i) {
        if (logical.sliced(i, word.size()).compare(word, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

void UnfoldedLines::append(QByteArrayView bytes)
{
    // Unfolding only removes bytes (a line break becomes at most one LF); the
    // LF before the piece's first line ended the piece before.
    qsizetype size = m_text.size();
    m_text.resize(size + bytes.size() + 1);
    char *const out = m_text.data();
    qsizetype at = 0;
    // The next LF, found once for all the lines a lone CR ends before it.
    qsizetype nextLf = -1;
    while (at < bytes.size()) {
        ++m_line;
        if (nextLf < at) {
            nextLf = bytes.indexOf('\n', at);
            if (nextLf < 0)
                nextLf = bytes.size();
        }
        const auto *const cr
            = static_cast<const char *>(std::memchr(bytes.data() + at, '\r', nextLf - at));
        const qsizetype end = cr ? cr - bytes.data() : nextLf;
        QByteArrayView piece = bytes.sliced(at, end - at);
        at = end < bytes.size() ? end + lineEndLength(bytes, end) : end;

        const bool folded = !piece.isEmpty() && (piece[0] == ' ' || piece[0] == '\t');
        if (m_lastLine >= 0 && m_softBreak) {
            --size; // the "=" of the soft break
        } else if (m_lastLine >= 0 && folded) {
            piece = piece.sliced(1);
        } else {
            if (m_lastLine >= 0)
                out[size++] = '\n';
            m_lastLine = size;
        }
        m_pieceStarts.emplace_back(size, m_line);
        std::memcpy(out + size, piece.data(), piece.size());
        size += piece.size();
        m_softBreak = size > m_lastLine && out[size - 1] == '='
            && isQuotedPrintable(QByteArrayView(out + m_lastLine, size - m_lastLine));
    }
    m_text.truncate(size);
}

void UnfoldedLines::discard(qsizetype offset)
{
    if (offset <= 0)
        return;
    m_text.remove(0, offset);
    m_lastLine -= offset;
    // The piece holding the new start keeps its line.
    const auto first
        = std::upper_bound(m_pieceStarts.begin(), m_pieceStarts.end(), offset,
                           [](qsizetype value, const std::pair<qsizetype, int> &start) {
                               return value < start.first;
                           });
    const auto kept = first == m_pieceStarts.begin() ? first : std::prev(first);
    m_pieceStarts.erase(m_pieceStarts.begin(), kept);
    for (auto &[start, line] : m_pieceStarts)
        start = std::max<qsizetype>(start - offset, 0);
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
