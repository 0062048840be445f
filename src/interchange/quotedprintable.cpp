#include "interchange/quotedprintable.h"

namespace dialvault {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Walks the encoded units, calling `emit(byte, sourceOffset)` for each decoded
// byte; returns the offset of a broken escape, or -1.
template <typename Emit>
qsizetype walk(QByteArrayView encoded, Emit emit)
{
    qsizetype at = 0;
    while (at < encoded.size()) {
        if (encoded[at] != '=') {
            if (!emit(encoded[at], at))
                return -1;
            ++at;
            continue;
        }
        if (at + 1 == encoded.size())
            return -1;
        const int high = at + 2 < encoded.size() ? hexValue(encoded[at + 1]) : -1;
        const int low = high >= 0 ? hexValue(encoded[at + 2]) : -1;
        if (low < 0)
            return at;
        if (!emit(char(high * 16 + low), at))
            return -1;
        at += 3;
    }
    return -1;
}

} // namespace

qsizetype decodeQuotedPrintable(QByteArrayView encoded, QByteArray &decoded)
{
    decoded.clear();
    decoded.reserve(encoded.size());
    return walk(encoded, [&](char byte, qsizetype) {
        decoded.append(byte);
        return true;
    });
}

qsizetype quotedPrintableSource(QByteArrayView encoded, qsizetype index)
{
    qsizetype source = encoded.size();
    qsizetype count = 0;
    walk(encoded, [&](char, qsizetype at) {
        if (count++ < index)
            return true;
        source = at;
        return false;
    });
    return source;
}

} // namespace dialvault
