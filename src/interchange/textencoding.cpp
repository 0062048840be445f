#include "interchange/textencoding.h"

#include <array>
#include <cstring>

namespace dialvault {

namespace {

// Windows-1256 from 0x80 to 0xFF (the code page defines all of them).
constexpr std::array<char16_t, 128> windows1256High{
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0679, 0x2039, 0x0152, 0x0686, 0x0698, 0x0688, // 88
    0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x06A9, 0x2122, 0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA, // 98
    0x00A0, 0x060C, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x00B9, 0x061B, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x061F, // B8
    0x06C1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627, // C0
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F, // C8
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x00D7, // D0
    0x0637, 0x0638, 0x0639, 0x063A, 0x0640, 0x0641, 0x0642, 0x0643, // D8
    0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7, // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x0649, 0x064A, 0x00EE, 0x00EF, // E8
    0x064B, 0x064C, 0x064D, 0x064E, 0x00F4, 0x064F, 0x0650, 0x00F7, // F0
    0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2, // F8
};

// ASCII other than NUL: the common case, checked before anything else.
bool isPlainAscii(char byte)
{
    return static_cast<uchar>(byte) - 1u < 0x7Fu;
}

// Skips a run of plain ASCII eight bytes at a time; returns where it ends.
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

bool isContinuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at `at`, or 0 when it is not one.
qsizetype sequenceLength(QByteArrayView bytes, qsizetype at)
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

} // namespace

qsizetype firstInvalidUtf8(QByteArrayView bytes)
{
    qsizetype at = 0;
    while (at < bytes.size()) {
        at = skipPlainAscii(bytes, at);
        if (at == bytes.size())
            break;
        const qsizetype length = sequenceLength(bytes, at);
        if (length == 0)
            return at;
        at += length;
    }
    return -1;
}

EncodingGuess guessEncoding(QByteArrayView bytes)
{
    qsizetype firstInvalid = -1;
    qsizetype firstNul = -1;
    qsizetype invalid = 0;
    qsizetype multibyte = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        at = skipPlainAscii(bytes, at);
        if (at == bytes.size())
            break;
        const qsizetype length = sequenceLength(bytes, at);
        if (length > 0) {
            ++multibyte;
            at += length;
            continue;
        }
        if (firstInvalid < 0)
            firstInvalid = at;
        if (firstNul < 0 && bytes[at] == 0)
            firstNul = at;
        ++invalid;
        ++at;
    }
    if (firstInvalid < 0)
        return {TextEncoding::Utf8, -1};
    // Persian text in Windows-1256 runs letter bytes (0xC1 to 0xFF) together,
    // which UTF-8 never allows, so its faults far outnumber chance sequences.
    if (multibyte > invalid)
        return {TextEncoding::Utf8, firstInvalid};
    return {TextEncoding::Windows1256, firstNul};
}

QString decodeWindows1256(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<uchar>(byte);
        *out++ = QChar(value < 0x80 ? char16_t(value) : windows1256High[value - 0x80]);
    }
    return text;
}

qsizetype firstInvalidByte(QByteArrayView bytes, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? firstInvalidUtf8(bytes) : bytes.indexOf('\0');
}

QString decodeText(QByteArrayView bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return QString::fromUtf8(bytes);
    case TextEncoding::Windows1256:
        return decodeWindows1256(bytes);
    case TextEncoding::Latin1:
        return QString::fromLatin1(bytes);
    }
    return QString();
}

qsizetype decodeUtf16(QByteArrayView bytes, bool bigEndian, QString &text)
{
    const qsizetype units = bytes.size() / 2;
    text.resize(units);
    QChar *out = text.data();
    const auto unitAt = [&](qsizetype i) {
        const auto first = static_cast<uchar>(bytes[2 * i]);
        const auto second = static_cast<uchar>(bytes[2 * i + 1]);
        return char16_t(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    qsizetype i = 0;
    while (i < units) {
        const char16_t unit = unitAt(i);
        qsizetype length = 1;
        if (unit == 0 || QChar::isLowSurrogate(unit))
            length = 0;
        else if (QChar::isHighSurrogate(unit))
            length = i + 1 < units && QChar::isLowSurrogate(unitAt(i + 1)) ? 2 : 0;
        if (length == 0) {
            text.truncate(i);
            return i;
        }
        for (qsizetype k = 0; k < length; ++k)
            out[i + k] = QChar(unitAt(i + k));
        i += length;
    }
    if (bytes.size() % 2 != 0)
        return units;
    return -1;
}

int lineNumberAt(QByteArrayView bytes, qsizetype offset)
{
    int line = 1;
    for (qsizetype i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\n'
            || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++line;
    }
    return line;
}

int lineNumberAt(QStringView text, qsizetype offset)
{
    int line = 1;
    for (qsizetype i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == u'\n'
            || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')))
            ++line;
    }
    return line;
}

} // namespace dialvault
