#pragma once

#include "interchange/readresult.h"
#include "interchange/textencoding.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

namespace dialvault {

// One logical line of a vCard, split into its parts; the value is still in
// its transfer encoding and charset, with its escapes.
struct VCardProperty
{
    QByteArray group; // upper case: "ITEM1" of "item1.TEL"
    QByteArray name; // upper case
    QByteArrayList types; // lower case: TYPE values and 2.1's bare parameters
    QByteArray encoding; // upper case: "QUOTED-PRINTABLE", "B", "BASE64" or empty
    QByteArray charset; // upper case, empty when not given
    QByteArray valueType; // lower case VALUE parameter, empty when not given
    int preference = 0; // 1 for TYPE=pref, n for PREF=n, 0 when not marked
    QByteArrayView value;
};

// Splits `line` at `colon`, the result of propertyColon().
VCardProperty parseProperty(QByteArrayView line, qsizetype colon);

// A property's value as text: base64 or quoted-printable undone, then read
// in its charset, else in the file's encoding. On a fault, `faultAt` is the
// offset in the raw value where it lies.
struct DecodedValue
{
    QString text;
    ReadFault fault = ReadFault::InvalidBytes;
    qsizetype faultAt = -1;

    bool ok() const { return faultAt < 0; }
};
DecodedValue decodeValue(const VCardProperty &property, TextEncoding fileEncoding);

} // namespace dialvault
