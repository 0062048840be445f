#include "jet/jettext.h"

#include <QtEndian>

#include <cerrno>

namespace dialvault {

namespace {

const iconv_t noConverter = reinterpret_cast<iconv_t>(-1);

char16_t unitAt(QByteArrayView bytes, qsizetype i)
{
    return char16_t(uchar(bytes[i]) | uchar(bytes[i + 1]) << 8);
}

} // namespace

std::optional<QString> decodeJet4Text(QByteArrayView bytes)
{
    const bool compressed = bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xFE;
    QString text = QStringLiteral("");
    if (!compressed) {
        if (bytes.size() % 2 != 0)
            return std::nullopt;
        if (bytes.isEmpty())
            return text;
        text.resize(bytes.size() / 2);
        qFromLittleEndian<char16_t>(bytes.data(), text.size(), text.data());
        return text;
    }
    text.reserve(bytes.size());
    bool oneByte = true;
    for (qsizetype i = 2; i < bytes.size();) {
        if (bytes[i] == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            text.append(QChar(uchar(bytes[i])));
            ++i;
        } else if (i + 1 < bytes.size()) {
            text.append(QChar(unitAt(bytes, i)));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return text;
}

CodePageDecoder::CodePageDecoder(int codePage)
    : converter(iconv_open("UTF-16LE", QByteArray("CP" + QByteArray::number(codePage)).constData()))
{ }

CodePageDecoder::~CodePageDecoder()
{
    if (converter != noConverter)
        iconv_close(converter);
}

bool CodePageDecoder::isValid() const
{
    return converter != noConverter;
}

QString CodePageDecoder::decode(QByteArrayView bytes)
{
    QString text = QStringLiteral("");
    if (!isValid() || bytes.isEmpty())
        return text;
    // One byte never gives more than one UTF-16 code unit in a Windows code page.
    QByteArray out(2 * bytes.size(), Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(converter, &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        // A failure may come with the input all read (a converter that
        // flushes a shift state), and no room may be left: nothing to keep.
        if (errno == E2BIG || inLeft == 0 || outLeft < 2)
            break;
        // Undefined byte, or a lead byte without its trail byte.
        const char16_t unit = uchar(*in);
        outPtr[0] = char(unit & 0xFF);
        outPtr[1] = 0;
        outPtr += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    const qsizetype written = (outPtr - out.data()) / 2;
    text.resize(written);
    qFromLittleEndian<char16_t>(out.constData(), written, text.data());
    return text;
}

} // namespace dialvault
