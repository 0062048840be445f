#pragma once

#include "interchange/bytesource.h"

#include <QByteArray>
#include <QByteArrayView>

namespace dialvault {

// A contacts file's text in pieces of whole lines, so that a reader never
// sees a line cut in two (nor a character, which never holds a line end):
// each piece ends with a line end as lineEndLength() tells them, but for the
// file's last line, which may have none. Pieces are about `pieceSize` bytes,
// more when a line is longer.
class LinePieces
{
public:
    static constexpr qsizetype defaultPieceSize = qsizetype(1) << 20;

    // The text of `source` after its first `skip` bytes (a byte order mark).
    explicit LinePieces(ByteSource &source, qsizetype skip = 0,
                        qsizetype pieceSize = defaultPieceSize);

    // The next piece, valid until the next call; empty at the end of the
    // text, and when the source could not be read (failed()).
    QByteArrayView next();
    // The 1-based line the piece last given begins on.
    int firstLine() const { return m_firstLine; }
    // The line after the pieces given so far.
    int nextLine() const { return m_nextLine; }
    bool failed() const { return m_failed; }
    // Starts again at the first piece; false, and failed(), when the source
    // cannot go back.
    bool rewind();

private:
    // Where a piece may end in the bytes held, looking from `from` on; 0 when
    // nowhere yet.
    qsizetype cutFrom(qsizetype from) const;
    QByteArrayView give(qsizetype size);

    ByteSource &m_source;
    qsizetype m_skip;
    qsizetype m_toSkip;
    qsizetype m_pieceSize;
    QByteArray m_buffer;
    qsizetype m_held = 0; // bytes of the text at the buffer's start
    qsizetype m_given = 0; // of them, the piece given last
    bool m_end = false; // the source has given its last byte
    bool m_failed = false;
    int m_firstLine = 1;
    int m_nextLine = 1;
};

// How many lines end in `text` (lineEndLength()), which holds no part of a
// line end of a text before or after it.
qsizetype lineEndCount(QByteArrayView text);

} // namespace dialvault
