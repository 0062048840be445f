#pragma once

#include "interchange/asciicase.h"
#include "interchange/readresult.h"
#include "interchange/textencoding.h"

#include <QByteArrayView>
#include <QString>
#include <QVarLengthArray>

namespace dialvault {

// One logical line of a vCard split into its parts, as views of the line;
// the value is still in its transfer encoding and charset, with its escapes.
struct VCardProperty
{
    QByteArrayView group; // "item1" of "item1.TEL", empty when there is none
    QByteArrayView name;
    QByteArrayView parameters; // ";TYPE=CELL;PREF" up to the colon; may be empty
    QByteArrayView value;

    bool is(QByteArrayView upperName) const { return equalsIgnoringCase(name, upperName); }
};

// Splits `line` at `colon`, the result of propertyColon().
VCardProperty splitProperty(QByteArrayView line, qsizetype colon);

// What the parameters say, as views of the line (compare them without case).
struct PropertyParameters
{
    QVarLengthArray<QByteArrayView, 4> types; // TYPE values and 2.1's bare parameters
    QByteArrayView encoding; // "QUOTED-PRINTABLE", "B", "BASE64" or empty
    QByteArrayView charset; // empty when not given
    QByteArrayView valueType; // the VALUE parameter, empty when not given
    int preference = 0; // 1 for TYPE=pref, n for PREF=n, 0 when not marked
};
PropertyParameters parseParameters(QByteArrayView parameters);

// True when the parameters name base64, whose 2.1 data may run on over
// lines without a colon; cheaper than parsing them.
bool namesBase64(QByteArrayView parameters);

// A property's value as text: base64 or quoted-printable undone, then read
// in its charset (any that ICU knows), else in the file's encoding, whose
// bytes are checked here unless `fileChecked` says the caller checked them
// all. On a fault, `faultAt` is the offset in the raw value where it lies.
struct DecodedValue
{
    QString text;
    ReadFault fault = ReadFault::InvalidBytes;
    qsizetype faultAt = -1;

    bool ok() const { return faultAt < 0; }
};
DecodedValue decodeValue(QByteArrayView value, const PropertyParameters &parameters,
                         const TextEncoding &fileEncoding, bool fileChecked);

} // namespace dialvault
