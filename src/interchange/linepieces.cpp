#include "interchange/linepieces.h"

#include <algorithm>
#include <cstring>

namespace dialvault {

LinePieces::LinePieces(ByteSource &source, qsizetype skip, qsizetype pieceSize)
    : m_source(source)
    , m_skip(skip)
    , m_toSkip(skip)
    , m_pieceSize(std::max<qsizetype>(pieceSize, 1))
{ }

qsizetype LinePieces::cutFrom(qsizetype from) const
{
    const char *const data = m_buffer.constData();
    if (m_held - from <= 0)
        return 0;
    // After the last LF, which ends a line whatever CRs come before it.
    if (const qsizetype lf = QByteArrayView(data + from, m_held - from).lastIndexOf('\n'); lf >= 0)
        return from + lf + 1;
    // Else after a CR that the next byte shows to end a line on its own:
    // a CR at the end may yet turn out part of a CR LF.
    for (qsizetype at = m_held - 2; at >= from; --at) {
        if (data[at] == '\r' && data[at + 1] != '\r' && data[at + 1] != '\n')
            return at + 1;
    }
    return 0;
}

QByteArrayView LinePieces::give(qsizetype size)
{
    m_given = size;
    const QByteArrayView piece(m_buffer.constData(), size);
    m_firstLine = m_nextLine;
    m_nextLine += int(lineEndCount(piece));
    return piece;
}

QByteArrayView LinePieces::next()
{
    if (m_failed)
        return {};
    // What follows the piece given last begins the next.
    if (m_given > 0) {
        std::memmove(m_buffer.data(), m_buffer.constData() + m_given, m_held - m_given);
        m_held -= m_given;
        m_given = 0;
    }
    qsizetype searched = std::max<qsizetype>(m_held - 1, 0);
    for (;;) {
        if (const qsizetype cut = cutFrom(searched); cut > 0)
            return give(cut);
        if (m_end)
            return m_held > 0 ? give(m_held) : QByteArrayView();
        searched = std::max<qsizetype>(m_held - 1, 0);
        if (m_buffer.size() < m_held + m_pieceSize)
            m_buffer.resize(m_held + m_pieceSize);
        qsizetype read = m_source.read(m_buffer.data() + m_held, m_pieceSize);
        if (read < 0) {
            m_failed = true;
            return {};
        }
        m_end = read == 0;
        // The bytes before the text (a byte order mark) are dropped as they come.
        if (const qsizetype dropped = std::min(read, m_toSkip); dropped > 0) {
            std::memmove(m_buffer.data() + m_held, m_buffer.constData() + m_held + dropped,
                         read - dropped);
            m_toSkip -= dropped;
            read -= dropped;
        }
        m_held += read;
    }
}

bool LinePieces::rewind()
{
    if (!m_source.rewind()) {
        m_failed = true;
        return false;
    }
    m_held = 0;
    m_given = 0;
    m_toSkip = m_skip;
    m_end = false;
    m_failed = false;
    m_firstLine = 1;
    m_nextLine = 1;
    return true;
}

qsizetype lineEndCount(QByteArrayView text)
{
    const char *const end = text.data() + text.size();
    qsizetype count = 0;
    for (const char *at = text.data(); at != end; ++count) {
        const auto *lf = static_cast<const char *>(std::memchr(at, '\n', end - at));
        if (!lf)
            break;
        at = lf + 1;
    }
    // A run of CRs before an LF is part of the LF's line end; any other CR
    // ends a line of its own.
    const char *at = text.data();
    while (at != end) {
        const auto *cr = static_cast<const char *>(std::memchr(at, '\r', end - at));
        if (!cr)
            break;
        at = cr;
        while (at != end && *at == '\r')
            ++at;
        if (at == end || *at != '\n')
            count += at - cr;
    }
    return count;
}

} // namespace dialvault
