#pragma once

#include "interchange/outputsink.h"
#include "store/contactentry.h"

#include <QString>

class QIODevice;

namespace dialvault {

// 3.0 is what every phone and address book imports; 4.0 on request.
enum class VCardVersion { V3 = 3, V4 = 4 };

// Writes entries as vCards, one at a time, straight to the device: UTF-8
// without a byte order mark, CR LF line ends, lines folded at 75 octets
// (never inside a UTF-8 sequence). Each card has FN, N with the whole name
// as its given part, the number as stored as a cell phone (marked as a text
// value when it starts with "tel:", so that reading it back keeps that),
// and the note; an empty number or note is left out. A null field is
// written as empty text.
class VCardWriter
{
public:
    explicit VCardWriter(QIODevice &device, VCardVersion version = VCardVersion::V3);

    bool write(const ContactEntry &entry);
    // What a buffer holds goes out; true when every write succeeded.
    bool finish() { return m_sink.finish(); }
    // Empty while every write succeeded.
    QString errorString() const { return m_sink.errorString(); }

private:
    OutputSink m_sink;
    VCardVersion m_version;
};

// `text` with vCard's escapes: backslash, comma, semicolon, and each line
// break (CR LF, LF or a lone CR, which vCard cannot tell apart) as "\n".
QString escapedVCardText(const QString &text);

// Appends `line` and CR LF to `out`, folded at 75 octets: continuation lines
// start with a space, and no fold falls inside a UTF-8 sequence.
void appendFoldedLine(QByteArray &out, const QByteArray &line);

} // namespace dialvault
