// Quoted-printable values: decoded bytes trace back into the input.
#include "interchange/quotedprintable.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView encoded(data, qsizetype(size));
    QByteArray decoded;
    const qsizetype broken = dialvault::decodeQuotedPrintable(encoded, decoded);
    if (broken < -1 || broken >= encoded.size())
        std::abort();
    // The first and the last decoded byte (each look-up walks the value).
    for (const qsizetype i : {qsizetype(0), decoded.size() - 1}) {
        const qsizetype source = dialvault::quotedPrintableSource(encoded, i);
        if (i >= 0 && i < decoded.size() && (source < 0 || source >= encoded.size()))
            std::abort();
    }
    return 0;
}
