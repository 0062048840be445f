#include "interchange/vcardproperty.h"

#include "interchange/quotedprintable.h"

#include <QByteArray>

#include <optional>

namespace dialvault {

namespace {

// Calls `visit` with each part of `text` between separators outside double quotes.
template <typename Visit>
void forEachPart(QByteArrayView text, char separator, Visit visit)
{
    bool quoted = false;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            quoted = !quoted;
        } else if (text[i] == separator && !quoted) {
            visit(text.sliced(begin, i - begin));
            begin = i + 1;
        }
    }
    visit(text.sliced(begin));
}

QByteArrayView unquoted(QByteArrayView value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.sliced(1, value.size() - 2);
    return value;
}

bool isTransferEncoding(QByteArrayView word)
{
    for (const char *encoding : {"QUOTED-PRINTABLE", "BASE64", "B", "8BIT", "7BIT"}) {
        if (equalsIgnoringCase(word, encoding))
            return true;
    }
    return false;
}

void markPreferred(PropertyParameters &parameters, int rank)
{
    if (rank > 0 && (parameters.preference == 0 || rank < parameters.preference))
        parameters.preference = rank;
}

void addType(PropertyParameters &parameters, QByteArrayView type)
{
    if (type.isEmpty())
        return;
    parameters.types.append(type);
    if (equalsIgnoringCase(type, "PREF"))
        markPreferred(parameters, 1);
}

void addParameter(PropertyParameters &parameters, QByteArrayView parameter)
{
    const qsizetype equals = parameter.indexOf('=');
    if (equals < 0) {
        const QByteArrayView bare = parameter.trimmed();
        if (isTransferEncoding(bare))
            parameters.encoding = bare;
        else
            addType(parameters, bare);
        return;
    }
    const QByteArrayView key = parameter.first(equals).trimmed();
    const QByteArrayView value = parameter.sliced(equals + 1);
    if (equalsIgnoringCase(key, "TYPE")) {
        // Both TYPE=a,b and TYPE="a,b".
        forEachPart(value, ',', [&](QByteArrayView item) {
            forEachPart(unquoted(item), ',',
                        [&](QByteArrayView type) { addType(parameters, type.trimmed()); });
        });
    } else if (equalsIgnoringCase(key, "ENCODING")) {
        parameters.encoding = unquoted(value);
    } else if (equalsIgnoringCase(key, "CHARSET")) {
        parameters.charset = unquoted(value);
    } else if (equalsIgnoringCase(key, "VALUE")) {
        parameters.valueType = unquoted(value);
    } else if (equalsIgnoringCase(key, "PREF")) {
        bool ok = false;
        const int rank = unquoted(value).toInt(&ok);
        markPreferred(parameters, ok ? rank : 1);
    }
}

DecodedValue failure(ReadFault fault, qsizetype at)
{
    DecodedValue decoded;
    decoded.fault = fault;
    decoded.faultAt = at;
    return decoded;
}

} // namespace

VCardProperty splitProperty(QByteArrayView line, qsizetype colon)
{
    VCardProperty property;
    const QByteArrayView head = line.first(colon);
    const qsizetype semicolon = head.indexOf(';');
    const QByteArrayView groupAndName = (semicolon < 0 ? head : head.first(semicolon)).trimmed();
    const qsizetype dot = groupAndName.lastIndexOf('.');
    property.name = groupAndName.sliced(dot + 1);
    if (dot > 0)
        property.group = groupAndName.first(dot);
    if (semicolon >= 0)
        property.parameters = head.sliced(semicolon + 1);
    property.value = line.sliced(colon + 1);
    return property;
}

PropertyParameters parseParameters(QByteArrayView parameters)
{
    PropertyParameters parsed;
    if (!parameters.isEmpty())
        forEachPart(parameters, ';', [&](QByteArrayView item) { addParameter(parsed, item); });
    return parsed;
}

bool namesBase64(QByteArrayView parameters)
{
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        const char c = asciiUpper(parameters[i]);
        if (c == 'B' && startsWithIgnoringCase(parameters.sliced(i), "BASE64"))
            return true;
        // ENCODING=b, the 3.0 name.
        if (c == '=' && i + 1 < parameters.size() && asciiUpper(parameters[i + 1]) == 'B'
            && (i + 2 == parameters.size() || parameters[i + 2] == ';'))
            return true;
    }
    return false;
}

DecodedValue decodeValue(QByteArrayView value, const PropertyParameters &parameters,
                         const TextEncoding &fileEncoding, bool fileChecked)
{
    TextEncoding encoding = fileEncoding;
    bool checked = fileChecked;
    if (!parameters.charset.isEmpty()) {
        const std::optional<TextEncoding> named = TextEncoding::named(parameters.charset);
        if (!named)
            return failure(ReadFault::UnknownCharset, 0);
        encoding = *named;
        checked = false;
    }

    DecodedValue decoded;
    if (equalsIgnoringCase(parameters.encoding, "QUOTED-PRINTABLE")) {
        QByteArray bytes;
        const qsizetype broken = decodeQuotedPrintable(value, bytes);
        if (broken >= 0)
            return failure(ReadFault::BrokenEncodedValue, broken);
        const qsizetype invalid = encoding.decode(bytes, decoded.text);
        if (invalid >= 0)
            return failure(ReadFault::InvalidBytes, quotedPrintableSource(value, invalid));
    } else if (equalsIgnoringCase(parameters.encoding, "B")
               || equalsIgnoringCase(parameters.encoding, "BASE64")) {
        auto bytes = QByteArray::fromBase64Encoding(value.toByteArray(),
                                                    QByteArray::AbortOnBase64DecodingErrors);
        if (!bytes)
            return failure(ReadFault::BrokenEncodedValue, 0);
        if (encoding.decode(*bytes, decoded.text) >= 0)
            return failure(ReadFault::InvalidBytes, 0);
    } else if (checked && encoding.isUtf8()) {
        decoded.text = QString::fromUtf8(value);
    } else {
        const qsizetype invalid = encoding.decode(value, decoded.text);
        if (invalid >= 0)
            return failure(ReadFault::InvalidBytes, invalid);
    }
    return decoded;
}

} // namespace dialvault
