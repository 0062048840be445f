// Guessing and decoding the text encodings. What a decoding calls valid
// decodes without loss: UTF-8 back to the same bytes, a code page a
// character a byte.
#include "interchange/encodingguess.h"
#include "interchange/textencoding.h"

#include <cstdint>
#include <cstdlib>

using namespace dialvault;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const EncodingGuess guess = guessEncoding(bytes);

    for (const TextEncoding &encoding :
         {guess.encoding, TextEncoding(), TextEncoding::windows1256(),
          TextEncoding::windows1252()}) {
        QString text;
        const qsizetype invalid = encoding.decode(bytes, text);
        if (invalid < -1 || invalid >= bytes.size() || invalid != encoding.firstInvalid(bytes))
            std::abort();
        if (invalid >= 0) {
            if (!text.isEmpty())
                std::abort();
            continue;
        }
        // A byte order mark at the start may go; nothing else does.
        const QByteArrayView unmarked = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
        if (encoding.isUtf8() && text.toUtf8() != bytes && text.toUtf8() != unmarked)
            std::abort();
        if (encoding == TextEncoding::windows1256() && text.size() != bytes.size())
            std::abort();
    }
    utf16Pattern(bytes);
    return 0;
}
