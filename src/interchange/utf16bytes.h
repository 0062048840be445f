#pragma once

#include "interchange/bytesource.h"

#include <QByteArray>

namespace dialvault {

// UTF-16 text as the UTF-8 it holds, converted a block at a time. The text
// ends before the first unit that is not text (a NUL, an unpaired surrogate,
// an odd last byte), and invalid() then says so.
class Utf16Bytes : public ByteSource
{
public:
    // The UTF-16 of `raw` after its first `skip` bytes (a byte order mark).
    Utf16Bytes(ByteSource &raw, bool bigEndian, qsizetype skip);

    qsizetype read(char *into, qsizetype most) override;
    bool rewind() override;
    bool invalid() const { return m_invalid; }

private:
    // At least `bytes` unread bytes of the raw text, or all that are left:
    // how many there are; -1 when the raw text cannot be read.
    qsizetype fill(qsizetype bytes);
    char16_t unitAt(qsizetype at) const;
    // The next character's UTF-8 into m_character; false at the end of the
    // text (the raw end, a unit that is not text, or a failed read).
    bool convertOne();

    ByteSource &m_raw;
    bool m_bigEndian;
    qsizetype m_skip;
    QByteArray m_in;
    qsizetype m_inAt = 0;
    qsizetype m_inEnd = 0;
    qsizetype m_toSkip;
    bool m_rawEnd = false;
    bool m_invalid = false;
    bool m_failed = false;
    // The UTF-8 of the character being given, which a small read may split.
    char m_character[4] = {};
    qsizetype m_characterAt = 0;
    qsizetype m_characterSize = 0;
};

} // namespace dialvault
