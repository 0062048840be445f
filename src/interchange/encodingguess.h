#pragma once

#include "interchange/textencoding.h"

#include <QByteArrayView>
#include <QList>

#include <functional>
#include <optional>

namespace dialvault {

// The encoding of text that does not say what it is in. Valid UTF-8 is
// UTF-8. Bytes that are mostly well-formed UTF-8 with a few faults are a
// damaged UTF-8 file. Anything else is one of the 8-bit code pages met here:
// Windows-1256 (Persian and Arabic) or Windows-1252 (the languages written
// in Latin letters). `invalidAt` is the offset of the first fault in the
// code page, which the person is told about. `invalidLine` is the line of
// the first fault in the chosen encoding (a NUL, in a code page), or 0.
struct EncodingGuess
{
    TextEncoding encoding;
    int invalidLine = 0;
    bool assumed = false;
};

// Gathers what tells the encoding, over pieces of a file in any number (the
// lines of a vCard that do not name their own charset, or pieces of lines).
class EncodingSniffer
{
public:
    // `lineOf` gives the line of a byte of `piece` by its offset; it is asked
    // for the first fault only.
    void add(QByteArrayView piece, const std::function<int(qsizetype)> &lineOf);
    EncodingGuess guess() const;

private:
    void addEightBit(QByteArrayView piece, qsizetype at);

    int m_firstInvalid = 0; // lines
    int m_firstNul = 0;
    qsizetype m_invalid = 0;
    qsizetype m_multibyte = 0;
    // High bytes that are letters in either code page: beside an ASCII
    // letter (an accented letter inside a Latin word), or not (Arabic
    // script, whose words are all high bytes).
    qsizetype m_besideLatin = 0;
    qsizetype m_amongHigh = 0;
    bool m_controlIn1252 = false; // a byte that Windows-1252 leaves without a letter
};

// The guess for text all in memory.
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
