#include "interchange/utf16bytes.h"

#include <QChar>

#include <algorithm>
#include <cstring>

namespace dialvault {

namespace {

constexpr qsizetype blockSize = 1 << 16;

} // namespace

Utf16Bytes::Utf16Bytes(ByteSource &raw, bool bigEndian, qsizetype skip)
    : m_raw(raw)
    , m_bigEndian(bigEndian)
    , m_skip(skip)
    , m_toSkip(skip)
{ }

qsizetype Utf16Bytes::fill(qsizetype bytes)
{
    while (m_inEnd - m_inAt < bytes && !m_rawEnd) {
        const qsizetype kept = m_inEnd - m_inAt;
        if (m_in.size() < kept + blockSize)
            m_in.resize(kept + blockSize);
        std::memmove(m_in.data(), m_in.constData() + m_inAt, kept);
        m_inAt = 0;
        m_inEnd = kept;
        const qsizetype read = m_raw.read(m_in.data() + kept, blockSize);
        if (read < 0)
            return -1;
        m_rawEnd = read == 0;
        m_inEnd += read;
        const qsizetype dropped = std::min(m_toSkip, m_inEnd - m_inAt);
        m_inAt += dropped;
        m_toSkip -= dropped;
    }
    return m_inEnd - m_inAt;
}

char16_t Utf16Bytes::unitAt(qsizetype at) const
{
    const auto first = static_cast<uchar>(m_in[at]);
    const auto second = static_cast<uchar>(m_in[at + 1]);
    return char16_t(m_bigEndian ? (first << 8) | second : (second << 8) | first);
}

bool Utf16Bytes::convertOne()
{
    const qsizetype held = fill(4);
    if (held <= 0) {
        m_failed = held < 0;
        return false;
    }
    char32_t c = held >= 2 ? unitAt(m_inAt) : 0;
    qsizetype units = 1;
    if (QChar::isHighSurrogate(c)) {
        const char16_t low = held >= 4 ? unitAt(m_inAt + 2) : 0;
        c = QChar::isLowSurrogate(low) ? QChar::surrogateToUcs4(char16_t(c), low) : 0;
        units = 2;
    }
    if (c == 0 || QChar::isLowSurrogate(c)) {
        m_invalid = true;
        return false;
    }
    m_inAt += 2 * units;
    char *out = m_character;
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | (c >> 6));
        *out++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = char(0xE0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xF0 | (c >> 18));
        *out++ = char(0x80 | ((c >> 12) & 0x3F));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    m_characterAt = 0;
    m_characterSize = out - m_character;
    return true;
}

qsizetype Utf16Bytes::read(char *into, qsizetype most)
{
    qsizetype written = 0;
    while (written < most) {
        if (m_characterAt == m_characterSize && !convertOne())
            break;
        const qsizetype count = std::min(most - written, m_characterSize - m_characterAt);
        std::memcpy(into + written, m_character + m_characterAt, count);
        written += count;
        m_characterAt += count;
    }
    return m_failed ? -1 : written;
}

bool Utf16Bytes::rewind()
{
    if (!m_raw.rewind())
        return false;
    m_inAt = 0;
    m_inEnd = 0;
    m_toSkip = m_skip;
    m_rawEnd = false;
    m_invalid = false;
    m_failed = false;
    m_characterAt = 0;
    m_characterSize = 0;
    return true;
}

} // namespace dialvault
