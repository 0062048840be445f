#pragma once

#include "interchange/textencoding.h"

#include <QByteArrayView>
#include <QList>

#include <optional>

namespace dialvault {

// The encoding of text that does not say what it is in. Valid UTF-8 is
// UTF-8. Bytes that are mostly well-formed UTF-8 with a few faults are a
// damaged UTF-8 file. Anything else is one of the 8-bit code pages met here:
// Windows-1256 (Persian and Arabic) or Windows-1252 (the languages written
// in Latin letters). `invalidAt` is the offset of the first fault in the
// chosen encoding (a NUL, in a code page), or -1; `assumed` is true for a
// code page, which the person is told about.
struct EncodingGuess
{
    TextEncoding encoding;
    qsizetype invalidAt = -1;
    bool assumed = false;
};

// Gathers what tells the encoding, over one or more pieces of one buffer
// (the lines of a vCard that do not name their own charset); offsets are
// from `base`, where the buffer begins.
class EncodingSniffer
{
public:
    explicit EncodingSniffer(const char *base)
        : m_base(base)
    { }

    void add(QByteArrayView piece);
    EncodingGuess guess() const;

private:
    void addEightBit(QByteArrayView piece, qsizetype at);

    const char *m_base;
    qsizetype m_firstInvalid = -1;
    qsizetype m_firstNul = -1;
    qsizetype m_invalid = 0;
    qsizetype m_multibyte = 0;
    // High bytes that are letters in either code page: beside an ASCII
    // letter (an accented letter inside a Latin word), or not (Arabic
    // script, whose words are all high bytes).
    qsizetype m_besideLatin = 0;
    qsizetype m_amongHigh = 0;
    bool m_controlIn1252 = false; // a byte that Windows-1252 leaves without a letter
};

EncodingGuess guessEncoding(QByteArrayView bytes);

// The code pages a header row of CSV is tried in when its bytes are not
// UTF-8: the one that recognises the most columns wins, the guess on a tie.
QList<TextEncoding> csvCodePages();

// UTF-16 without a byte order mark, told by its zero bytes (the high half of
// every ASCII character) falling on one side of the pairs; none for other
// text, which holds no zero bytes. `plain` when a quarter of the pairs or
// more have one: text with few ASCII characters has fewer, but so may 8-bit
// text with a stray NUL.
struct Utf16Pattern
{
    bool bigEndian = false;
    bool plain = false;
};
std::optional<Utf16Pattern> utf16Pattern(QByteArrayView bytes);

} // namespace dialvault
