#include "interchange/vcardproperty.h"

#include "interchange/quotedprintable.h"

#include <optional>

namespace dialvault {

namespace {

// Splits at `separator` outside double quotes.
QList<QByteArrayView> splitOutsideQuotes(QByteArrayView text, char separator)
{
    QList<QByteArrayView> parts;
    bool quoted = false;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            quoted = !quoted;
        } else if (text[i] == separator && !quoted) {
            parts.append(text.sliced(begin, i - begin));
            begin = i + 1;
        }
    }
    parts.append(text.sliced(begin));
    return parts;
}

QByteArray unquoted(QByteArrayView value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.sliced(1, value.size() - 2);
    return value.toByteArray();
}

bool isTransferEncoding(const QByteArray &upper)
{
    return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT"
        || upper == "7BIT";
}

void markPreferred(VCardProperty &property, int rank)
{
    if (rank > 0 && (property.preference == 0 || rank < property.preference))
        property.preference = rank;
}

void addParameter(VCardProperty &property, QByteArrayView parameter)
{
    const qsizetype equals = parameter.indexOf('=');
    if (equals < 0) {
        const QByteArray bare = parameter.trimmed().toByteArray();
        const QByteArray upper = bare.toUpper();
        if (isTransferEncoding(upper)) {
            property.encoding = upper;
        } else if (!bare.isEmpty()) {
            property.types.append(bare.toLower());
            if (upper == "PREF")
                markPreferred(property, 1);
        }
        return;
    }
    const QByteArray key = parameter.first(equals).trimmed().toByteArray().toUpper();
    const QByteArrayView value = parameter.sliced(equals + 1);
    if (key == "TYPE") {
        for (const QByteArrayView item : splitOutsideQuotes(value, ',')) {
            const QByteArray type = unquoted(item).toLower();
            for (const QByteArrayView part : splitOutsideQuotes(type, ',')) {
                if (part.isEmpty())
                    continue;
                property.types.append(part.toByteArray());
                if (part == "pref")
                    markPreferred(property, 1);
            }
        }
    } else if (key == "ENCODING") {
        property.encoding = unquoted(value).toUpper();
    } else if (key == "CHARSET") {
        property.charset = unquoted(value).toUpper();
    } else if (key == "VALUE") {
        property.valueType = unquoted(value).toLower();
    } else if (key == "PREF") {
        bool ok = false;
        const int rank = unquoted(value).toInt(&ok);
        markPreferred(property, ok ? rank : 1);
    }
}

std::optional<TextEncoding> charsetEncoding(const QByteArray &charset)
{
    // ASCII is read as UTF-8: phones that say ASCII sometimes write more.
    if (charset == "UTF-8" || charset == "UTF8" || charset == "US-ASCII" || charset == "ASCII")
        return TextEncoding::Utf8;
    if (charset == "WINDOWS-1256" || charset == "CP1256")
        return TextEncoding::Windows1256;
    if (charset == "ISO-8859-1" || charset == "LATIN1")
        return TextEncoding::Latin1;
    return std::nullopt;
}

DecodedValue failure(ReadFault fault, qsizetype at)
{
    DecodedValue decoded;
    decoded.fault = fault;
    decoded.faultAt = at;
    return decoded;
}

} // namespace

VCardProperty parseProperty(QByteArrayView line, qsizetype colon)
{
    VCardProperty property;
    const QList<QByteArrayView> head = splitOutsideQuotes(line.first(colon), ';');
    const QByteArrayView groupAndName = head.front().trimmed();
    const qsizetype dot = groupAndName.lastIndexOf('.');
    property.name = groupAndName.sliced(dot + 1).toByteArray().toUpper();
    if (dot > 0)
        property.group = groupAndName.first(dot).toByteArray().toUpper();
    for (qsizetype i = 1; i < head.size(); ++i)
        addParameter(property, head[i]);
    property.value = line.sliced(colon + 1);
    return property;
}

DecodedValue decodeValue(const VCardProperty &property, TextEncoding fileEncoding)
{
    TextEncoding encoding = fileEncoding;
    if (!property.charset.isEmpty()) {
        const std::optional<TextEncoding> named = charsetEncoding(property.charset);
        if (!named)
            return failure(ReadFault::UnknownCharset, 0);
        encoding = *named;
    }

    QByteArray bytes;
    if (property.encoding == "QUOTED-PRINTABLE") {
        const qsizetype broken = decodeQuotedPrintable(property.value, bytes);
        if (broken >= 0)
            return failure(ReadFault::BrokenEncodedValue, broken);
        const qsizetype invalid = firstInvalidByte(bytes, encoding);
        if (invalid >= 0)
            return failure(ReadFault::InvalidBytes, quotedPrintableSource(property.value, invalid));
    } else if (property.encoding == "B" || property.encoding == "BASE64") {
        auto decoded = QByteArray::fromBase64Encoding(property.value.toByteArray(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return failure(ReadFault::BrokenEncodedValue, 0);
        bytes = *decoded;
        if (firstInvalidByte(bytes, encoding) >= 0)
            return failure(ReadFault::InvalidBytes, 0);
    } else {
        bytes = property.value.toByteArray();
        // The file's own encoding was checked over the whole file already.
        if (encoding != fileEncoding) {
            const qsizetype invalid = firstInvalidByte(bytes, encoding);
            if (invalid >= 0)
                return failure(ReadFault::InvalidBytes, invalid);
        }
    }
    DecodedValue decoded;
    decoded.text = decodeText(bytes, encoding);
    return decoded;
}

} // namespace dialvault
