#include "interchange/textencoding.h"

#include "interchange/asciicase.h"
#include "interchange/utf8.h"

#include <QHash>

#include <unicode/ucnv.h>

#include <memory>
#include <vector>

namespace dialvault {

namespace {

struct CloseConverter
{
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, CloseConverter>;

Converter opened(const char *name)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status))
        return nullptr;
    // A byte without a character stops the conversion: it is reported,
    // never replaced.
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    if (U_FAILURE(status))
        return nullptr;
    return converter;
}

// A converter for each encoding met, kept for the thread's life: a card may
// name its charset on every line.
UConverter *converterNamed(const QByteArray &name)
{
    thread_local std::vector<std::pair<QByteArray, Converter>> converters;
    for (const auto &[known, converter] : converters) {
        if (known == name) {
            ucnv_resetToUnicode(converter.get());
            return converter.get();
        }
    }
    Converter converter = opened(name.constData());
    if (!converter)
        return nullptr;
    converters.emplace_back(name, std::move(converter));
    return converters.back().second.get();
}

// Labels come from files: only the characters of charset names reach ICU,
// which would read a comma as the start of its own options.
bool isCharsetLabel(QByteArrayView label)
{
    if (label.isEmpty() || label.size() > 64)
        return false;
    for (const char c : label) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
            || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':';
        if (!allowed)
            return false;
    }
    return true;
}

// Converts with ICU; the offset of the first byte without a character, or -1.
qsizetype convert(UConverter *converter, QByteArrayView bytes, QString &text)
{
    text.resize(bytes.size() + 16);
    const char *source = bytes.data();
    const char *const sourceEnd = source + bytes.size();
    qsizetype written = 0;
    for (;;) {
        auto *const begin = reinterpret_cast<UChar *>(text.data());
        UChar *target = begin + written;
        UErrorCode status = U_ZERO_ERROR;
        ucnv_toUnicode(converter, &target, begin + text.size(), &source, sourceEnd, nullptr, true,
                       &status);
        written = target - begin;
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            text.resize(text.size() * 2);
            continue;
        }
        if (U_FAILURE(status)) {
            char invalid[32];
            int8_t length = sizeof invalid;
            UErrorCode ignored = U_ZERO_ERROR;
            ucnv_getInvalidChars(converter, invalid, &length, &ignored);
            text.clear();
            return (source - bytes.data()) - length;
        }
        text.truncate(written);
        return -1;
    }
}

} // namespace

std::optional<TextEncoding> TextEncoding::named(QByteArrayView label)
{
    label = label.trimmed();
    // Phones name a charset on every line, nearly always UTF-8.
    if (equalsIgnoringCase(label, "UTF-8"))
        return TextEncoding();
    if (!isCharsetLabel(label))
        return std::nullopt;
    // The labels met, as ICU resolved them; a file names few of them, and
    // no more than ICU's few hundred converters are kept.
    thread_local QHash<QByteArray, std::optional<TextEncoding>> resolved;
    const QByteArray key = label.toByteArray().toUpper();
    if (const auto known = resolved.constFind(key); known != resolved.cend())
        return *known;
    std::optional<TextEncoding> encoding;
    if (const Converter converter = opened(key.constData())) {
        UErrorCode status = U_ZERO_ERROR;
        const QByteArray name = ucnv_getName(converter.get(), &status);
        if (U_SUCCESS(status))
            encoding = name == "UTF-8" || name == "US-ASCII" ? TextEncoding() : TextEncoding(name);
    }
    if (resolved.size() < 1024)
        resolved.insert(key, encoding);
    return encoding;
}

TextEncoding TextEncoding::windows1256()
{
    static const TextEncoding encoding = *named("windows-1256");
    return encoding;
}

TextEncoding TextEncoding::windows1252()
{
    static const TextEncoding encoding = *named("windows-1252");
    return encoding;
}

QString TextEncoding::shownName() const
{
    if (isUtf8())
        return QStringLiteral("UTF-8");
    UErrorCode status = U_ZERO_ERROR;
    const char *standard = ucnv_getStandardName(m_name.constData(), "MIME", &status);
    if (!standard || U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        standard = ucnv_getStandardName(m_name.constData(), "IANA", &status);
    }
    QString shown = QString::fromLatin1(standard && U_SUCCESS(status) ? standard : m_name.data());
    if (shown.startsWith(QLatin1String("windows-")))
        shown[0] = u'W';
    return shown;
}

qsizetype TextEncoding::decode(QByteArrayView bytes, QString &text) const
{
    if (isUtf8()) {
        const qsizetype invalid = firstInvalidUtf8(bytes);
        text = invalid < 0 ? QString::fromUtf8(bytes) : QString();
        return invalid;
    }
    UConverter *const converter = converterNamed(m_name);
    if (!converter) {
        text.clear();
        return 0;
    }
    if (ucnv_getMinCharSize(converter) > 1) {
        // UTF-16 and its kind: a NUL is a character of two or more bytes.
        const qsizetype invalid = convert(converter, bytes, text);
        if (invalid >= 0)
            return invalid;
        const qsizetype nul = text.indexOf(QChar(0));
        if (nul >= 0)
            text.clear();
        return nul < 0 ? -1 : nul * ucnv_getMinCharSize(converter);
    }
    const qsizetype nul = bytes.indexOf('\0');
    if (nul < 0)
        return convert(converter, bytes, text);
    const qsizetype before = convert(converter, bytes.first(nul), text);
    text.clear();
    return before >= 0 ? before : nul;
}

qsizetype TextEncoding::firstInvalid(QByteArrayView bytes) const
{
    if (isUtf8())
        return firstInvalidUtf8(bytes);
    QString text;
    return decode(bytes, text);
}

} // namespace dialvault
