// Guessing and decoding the text encodings. What the guess calls valid
// decodes without loss: UTF-8 back to the same bytes.
#include "interchange/textencoding.h"

#include <cstdint>
#include <cstdlib>

using namespace dialvault;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const EncodingGuess guess = guessEncoding(bytes);
    const qsizetype invalid = firstInvalidByte(bytes, guess.encoding);
    if (invalid < -1 || invalid >= bytes.size())
        std::abort();
    if (invalid < 0) {
        const QString text = decodeText(bytes, guess.encoding);
        // Qt drops a byte order mark at the start; nothing else goes.
        const QByteArrayView unmarked = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
        if (guess.encoding == TextEncoding::Utf8 && text.toUtf8() != unmarked)
            std::abort();
        if (guess.encoding == TextEncoding::Windows1256 && text.size() != bytes.size())
            std::abort();
        lineNumberAt(text, text.size());
    }
    lineNumberAt(bytes, bytes.size());
    for (const bool bigEndian : {false, true}) {
        QString text;
        const qsizetype stop = decodeUtf16(bytes, bigEndian, text);
        if (stop >= 0 && text.size() != stop)
            std::abort();
    }
    return 0;
}
