#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <utility>
#include <vector>

namespace dialvault {

// A vCard file's logical lines, unfolded at the byte level (a fold may fall
// inside a UTF-8 sequence, so this runs before any decoding): a line break
// followed by a space or tab is removed with that one blank, and a
// quoted-printable value's soft break ("=" at the end of the line) joins the
// next line. Lines end as lineEndLength() says, so no CR is left in a line.
// Logical lines are kept in `text`, separated by LF; each offset of `text`
// can be traced back to its physical line for messages.
//
// The file comes in pieces of whole physical lines (LinePieces), and the
// text is kept only from where its reader has got to: the last logical
// line may still go on in the next piece, so only the lines before it are
// settled.
class UnfoldedLines
{
public:
    // Unfolds the next piece onto the end of text().
    void append(QByteArrayView bytes);
    // No piece follows: every line is settled.
    void finish() { m_finished = true; }
    // Where the settled lines end: each of them ends with its LF, but for the
    // last line once finished.
    qsizetype settled() const
    {
        return m_finished ? m_text.size() : std::max<qsizetype>(m_lastLine, 0);
    }
    bool finished() const { return m_finished; }
    // Forgets the text before `offset`, where a logical line begins: the
    // offsets of what is kept then count from 0.
    void discard(qsizetype offset);

    const QByteArray &text() const { return m_text; }
    // The 1-based physical line of the byte at `offset` in text().
    int lineAt(qsizetype offset) const;

private:
    QByteArray m_text;
    std::vector<std::pair<qsizetype, int>> m_pieceStarts; // (offset in text, physical line)
    qsizetype m_lastLine = -1; // where the last logical line begins; -1 before the first
    bool m_softBreak = false; // the last line ends in a quoted-printable soft break
    int m_line = 0; // the physical lines so far
    bool m_finished = false;
};

// The offset of the first colon of `line` outside double quotes (which may
// enclose parameter values), or -1.
qsizetype propertyColon(QByteArrayView line);

} // namespace dialvault
