#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace dialvault {

// Decodes a quoted-printable value whose soft line breaks were already
// joined: "=XX" is one byte (hex digits of either case) and a final "=" is
// nothing. Returns the offset of the first broken escape in `encoded`, or -1.
qsizetype decodeQuotedPrintable(QByteArrayView encoded, QByteArray &decoded);

// The offset in `encoded` of the text that gave decoded byte `index`.
qsizetype quotedPrintableSource(QByteArrayView encoded, qsizetype index);

} // namespace dialvault
