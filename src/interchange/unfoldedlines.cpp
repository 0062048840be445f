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

UnfoldedLines::UnfoldedLines(QByteArrayView bytes)
{
    // Unfolding only removes bytes (a line break becomes at most one LF), so
    // the text fits in the input's size.
    m_text.resize(bytes.size());
    char *const out = m_text.data();
    qsizetype size = 0;
    qsizetype logicalBegin = -1;
    bool softBreak = false;
    int line = 0;
    qsizetype at = 0;
    // The next LF, found once for all the lines a lone CR ends before it.
    qsizetype nextLf = -1;
    while (at < bytes.size()) {
        ++line;
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
        if (logicalBegin >= 0 && softBreak) {
            --size; // the "=" of the soft break
        } else if (logicalBegin >= 0 && folded) {
            piece = piece.sliced(1);
        } else {
            if (logicalBegin >= 0)
                out[size++] = '\n';
            logicalBegin = size;
        }
        m_pieceStarts.emplace_back(size, line);
        std::memcpy(out + size, piece.data(), piece.size());
        size += piece.size();
        softBreak = size > logicalBegin && out[size - 1] == '='
            && isQuotedPrintable(QByteArrayView(out + logicalBegin, size - logicalBegin));
    }
    m_text.truncate(size);
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
