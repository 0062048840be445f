#include "interchange/encodingguess.h"

#include "interchange/lineends.h"
#include "interchange/utf8.h"

#include <algorithm>
#include <array>
#include <bitset>

namespace dialvault {

namespace {

// How the high bytes stand between Windows-1256 and Windows-1252, from
// ICU's own tables.
struct HighBytes
{
    std::bitset<128> letter; // a letter in either
    std::bitset<128> control1252; // a C1 control in Windows-1252, no letter at all
};

const HighBytes &highBytes()
{
    static const HighBytes bytes = [] {
        HighBytes made;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const char one[1] = {char(byte)};
            QString arabic;
            QString latin;
            TextEncoding::windows1256().decode(QByteArrayView(one, 1), arabic);
            TextEncoding::windows1252().decode(QByteArrayView(one, 1), latin);
            made.letter[byte - 0x80] = arabic.front().isLetter() || latin.front().isLetter();
            made.control1252[byte - 0x80] = latin.size() == 1 && latin[0].unicode() < 0xA0;
        }
        return made;
    }();
    return bytes;
}

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

void EncodingSniffer::add(QByteArrayView piece, const std::function<int(qsizetype)> &lineOf)
{
    qsizetype at = 0;
    while (at < piece.size()) {
        at = skipPlainAscii(piece, at);
        if (at == piece.size())
            break;
        const qsizetype length = utf8SequenceLength(piece, at);
        for (qsizetype i = 0; i < std::max<qsizetype>(length, 1); ++i)
            addEightBit(piece, at + i);
        if (length > 0) {
            ++m_multibyte;
            at += length;
            continue;
        }
        if (m_firstInvalid == 0)
            m_firstInvalid = lineOf(at);
        if (m_firstNul == 0 && piece[at] == 0)
            m_firstNul = lineOf(at);
        ++m_invalid;
        ++at;
    }
}

void EncodingSniffer::addEightBit(QByteArrayView piece, qsizetype at)
{
    const auto byte = static_cast<uchar>(piece[at]);
    if (byte < 0x80)
        return;
    const HighBytes &high = highBytes();
    if (high.control1252[byte - 0x80])
        m_controlIn1252 = true;
    if (!high.letter[byte - 0x80])
        return;
    const bool letterBefore = at > 0 && isAsciiLetter(piece[at - 1]);
    const bool letterAfter = at + 1 < piece.size() && isAsciiLetter(piece[at + 1]);
    if (letterBefore || letterAfter)
        ++m_besideLatin;
    else
        ++m_amongHigh;
}

EncodingGuess EncodingSniffer::guess() const
{
    if (m_firstInvalid == 0)
        return {};
    // Persian text in Windows-1256 runs letter bytes (0xC1 to 0xFF) together,
    // which UTF-8 never allows, so its faults far outnumber chance sequences.
    if (m_multibyte > m_invalid)
        return {TextEncoding(), m_firstInvalid, false};
    const bool latin = !m_controlIn1252 && m_besideLatin > m_amongHigh;
    return {latin ? TextEncoding::windows1252() : TextEncoding::windows1256(), m_firstNul, true};
}

EncodingGuess guessEncoding(QByteArrayView bytes)
{
    EncodingSniffer sniffer;
    sniffer.add(bytes, [&](qsizetype at) { return lineNumberAt(bytes, at); });
    return sniffer.guess();
}

QList<TextEncoding> csvCodePages()
{
    static const QList<TextEncoding> pages = [] {
        QList<TextEncoding> made{TextEncoding::windows1256(), TextEncoding::windows1252()};
        // Russian and Turkish exports.
        for (const char *name : {"windows-1251", "windows-1254"}) {
            if (const std::optional<TextEncoding> page = TextEncoding::named(name))
                made.append(*page);
        }
        return made;
    }();
    return pages;
}

std::optional<Utf16Pattern> utf16Pattern(QByteArrayView bytes)
{
    // The start tells: a header row or the first cards.
    const qsizetype length = std::min<qsizetype>(bytes.size(), 1 << 16) & ~qsizetype(1);
    std::array<qsizetype, 2> zeros{};
    for (qsizetype i = 0; i < length; ++i) {
        if (bytes[i] == 0)
            ++zeros[i % 2];
    }
    // Characters such as U+0100 or U+0600 put a zero on the other side.
    const bool bigEndian = zeros[0] > zeros[1];
    const qsizetype most = zeros[bigEndian ? 0 : 1];
    const qsizetype other = zeros[bigEndian ? 1 : 0];
    if (most == 0 || most < 4 * other)
        return std::nullopt;
    return Utf16Pattern{bigEndian, 4 * most >= length / 2};
}

} // namespace dialvault
