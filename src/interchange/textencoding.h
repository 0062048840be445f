#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace dialvault {

// The 8-bit encodings a contacts file or a vCard value comes in. UTF-16
// files carry a byte order mark and are turned into UTF-8 before anything
// else reads them; Latin-1 is only ever named by a vCard charset.
enum class TextEncoding { Utf8, Windows1256, Latin1 };

// Where `bytes` stop being strict UTF-8 (overlong forms, surrogates and
// code points past U+10FFFF included), or hold a NUL; -1 when they are clean.
qsizetype firstInvalidUtf8(QByteArrayView bytes);

// The encoding of bytes without a byte order mark. Valid UTF-8 is UTF-8.
// Otherwise Windows-1256, unless the bytes are mostly well-formed UTF-8 with
// a few faults: that is a damaged UTF-8 file. `invalidAt` is the offset of
// the first fault in the chosen encoding (a NUL, in Windows-1256), or -1.
struct EncodingGuess
{
    TextEncoding encoding = TextEncoding::Utf8;
    qsizetype invalidAt = -1;
};
EncodingGuess guessEncoding(QByteArrayView bytes);

// Every byte has a character in Windows-1256; NUL aside, nothing is invalid.
QString decodeWindows1256(QByteArrayView bytes);

// Where `bytes` stop being valid text in `encoding` (NUL is never text), or -1.
qsizetype firstInvalidByte(QByteArrayView bytes, TextEncoding encoding);

// Decodes bytes already known to be valid in `encoding`.
QString decodeText(QByteArrayView bytes, TextEncoding encoding);

// Decodes UTF-16 without its byte order mark into `text`. Returns the index
// (in UTF-16 units) of the first unpaired surrogate, NUL or odd trailing byte,
// with `text` holding what came before it; -1 when all of it is valid.
qsizetype decodeUtf16(QByteArrayView bytes, bool bigEndian, QString &text);

// The 1-based line holding `offset`: lines end at LF, CR LF or a lone CR.
int lineNumberAt(QByteArrayView bytes, qsizetype offset);
int lineNumberAt(QStringView text, qsizetype offset);

} // namespace dialvault
