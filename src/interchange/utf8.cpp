#include "interchange/utf8.h"

#include <QtGlobal>

#include <cstring>

namespace dialvault {

namespace {

// ASCII other than NUL: the common case, checked before anything else.
bool isPlainAscii(char byte)
{
    return static_cast<uchar>(byte) - 1u < 0x7Fu;
}

bool isContinuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

qsizetype skipPlainAscii(QByteArrayView bytes, qsizetype at)
{
    constexpr quint64 ones = 0x0101010101010101ULL;
    constexpr quint64 highs = 0x8080808080808080ULL;
    while (at + 8 <= bytes.size()) {
        quint64 word;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        // No byte with its high bit set, and no zero byte.
        if ((word & highs) != 0 || ((word - ones) & ~word & highs) != 0)
            break;
        at += 8;
    }
    while (at < bytes.size() && isPlainAscii(bytes[at]))
        ++at;
    return at;
}

qsizetype utf8SequenceLength(QByteArrayView bytes, qsizetype at)
{
    const auto byteAt = [&](qsizetype i) { return static_cast<uchar>(bytes[i]); };
    const uchar lead = byteAt(at);
    if (lead == 0)
        return 0;
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    uchar low = 0x80; // the allowed range of the second byte rules out
    uchar high = 0xBF; // overlong forms, surrogates and values past U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    if (byteAt(at + 1) < low || byteAt(at + 1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (!isContinuation(byteAt(at + i)))
            return 0;
    }
    return length;
}

qsizetype firstInvalidUtf8(QByteArrayView bytes)
{
    qsizetype at = 0;
    while (at < bytes.size()) {
        at = skipPlainAscii(bytes, at);
        if (at == bytes.size())
            break;
        const qsizetype length = utf8SequenceLength(bytes, at);
        if (length == 0)
            return at;
        at += length;
    }
    return -1;
}

} // namespace dialvault
