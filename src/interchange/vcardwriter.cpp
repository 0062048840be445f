#include "interchange/vcardwriter.h"

namespace dialvault {

namespace {

constexpr qsizetype foldWidth = 75;

bool isContinuationByte(char byte)
{
    return (static_cast<uchar>(byte) & 0xC0) == 0x80;
}

} // namespace

QString escapedVCardText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'\\':
            escaped.append(QStringLiteral("\\\\"));
            break;
        case u',':
            escaped.append(QStringLiteral("\\,"));
            break;
        case u';':
            escaped.append(QStringLiteral("\\;"));
            break;
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            escaped.append(QStringLiteral("\\n"));
            break;
        case u'\n':
            escaped.append(QStringLiteral("\\n"));
            break;
        default:
            escaped.append(c);
        }
    }
    return escaped;
}

void appendFoldedLine(QByteArray &out, const QByteArray &line)
{
    qsizetype at = 0;
    qsizetype width = foldWidth;
    while (line.size() - at > width) {
        qsizetype cut = at + width;
        while (cut > at && isContinuationByte(line[cut]))
            --cut;
        // No character starts within the width: bytes that are no UTF-8
        // (kept from a card as they came) are cut where the width ends.
        if (cut == at)
            cut = at + width;
        out.append(line.constData() + at, cut - at);
        out.append("\r\n ");
        at = cut;
        width = foldWidth - 1; // the leading space counts
    }
    out.append(line.constData() + at, line.size() - at);
    out.append("\r\n");
}

VCardWriter::VCardWriter(QIODevice &device, VCardVersion version)
    : m_sink(device)
    , m_version(version)
{ }

bool VCardWriter::write(const ContactEntry &entry)
{
    const bool v4 = m_version == VCardVersion::V4;
    const QString name = escapedVCardText(entry.name);
    QByteArray card;
    card.reserve(128 + 2 * (entry.name.size() + entry.phone.size() + entry.note.size()));
    card.append(v4 ? "BEGIN:VCARD\r\nVERSION:4.0\r\n" : "BEGIN:VCARD\r\nVERSION:3.0\r\n");
    appendFoldedLine(card, "FN:" + name.toUtf8());
    appendFoldedLine(card, "N:;" + name.toUtf8() + ";;;");
    if (!entry.phone.isEmpty()) {
        // A stored number that looks like a tel: URI must not lose its
        // "tel:" when read back, so its value is marked as plain text.
        QByteArray property = v4 ? "TEL;TYPE=cell" : "TEL;TYPE=CELL";
        if (entry.phone.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive))
            property.append(";VALUE=text");
        appendFoldedLine(card, property + ':' + escapedVCardText(entry.phone).toUtf8());
    }
    if (!entry.note.isEmpty())
        appendFoldedLine(card, "NOTE:" + escapedVCardText(entry.note).toUtf8());
    card.append("END:VCARD\r\n");
    return m_sink.put(card);
}

} // namespace dialvault
