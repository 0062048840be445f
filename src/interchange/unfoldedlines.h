#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <utility>
#include <vector>

namespace dialvault {

// A vCard file's logical lines, unfolded at the byte level (a fold may fall
// inside a UTF-8 sequence, so this runs before any decoding): a line break
// followed by a space or tab is removed with that one blank, and a
// quoted-printable value's soft break ("=" at the end of the line) joins the
// next line. Lines end as lineEndLength() says, so no CR is left in a line. Logical lines are kept
// in `text`, separated by LF; each offset of `text` can be traced back to its physical line for
// messages.
class UnfoldedLines
{
public:
    explicit UnfoldedLines(QByteArrayView bytes);

    const QByteArray &text() const { return m_text; }
    // The 1-based physical line of the byte at `offset` in text().
    int lineAt(qsizetype offset) const;

private:
    QByteArray m_text;
    std::vector<std::pair<qsizetype, int>> m_pieceStarts; // (offset in text, physical line)
};

// The offset of the first colon of `line` outside double quotes (which may
// enclose parameter values), or -1.
qsizetype propertyColon(QByteArrayView line);

} // namespace dialvault
