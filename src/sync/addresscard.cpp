#include "sync/addresscard.h"

#include "interchange/asciicase.h"
#include "interchange/lineends.h"
#include "interchange/textencoding.h"
#include "interchange/unfoldedlines.h"
#include "interchange/vcardproperty.h"
#include "interchange/vcardtext.h"
#include "interchange/vcardwriter.h"

namespace dialvault {

namespace {

bool isQuotedPrintable(QByteArrayView parameters)
{
    return containsIgnoringCase(parameters, "QUOTED-PRINTABLE");
}

// The parameters without those of an encoding or charset: a value written
// anew is plain UTF-8.
QByteArray keptParameters(QByteArrayView parameters)
{
    QByteArray kept;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i <= parameters.size(); ++i) {
        if (i < parameters.size() && parameters[i] == '"')
            quoted = !quoted;
        if (i < parameters.size() && (parameters[i] != ';' || quoted))
            continue;
        const QByteArrayView item = parameters.sliced(start, i - start);
        start = i + 1;
        if (item.isEmpty() || startsWithIgnoringCase(item, "ENCODING=")
            || startsWithIgnoringCase(item, "CHARSET=")
            || equalsIgnoringCase(item, "QUOTED-PRINTABLE") || equalsIgnoringCase(item, "BASE64")
            || equalsIgnoringCase(item, "8BIT"))
            continue;
        kept.append(';');
        kept.append(item);
    }
    return kept;
}

QString withoutTelScheme(const QString &number)
{
    return number.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive) ? number.mid(4) : number;
}

bool startsWithTel(const QString &text)
{
    return text.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive);
}

QByteArray folded(const QByteArray &line)
{
    QByteArray out;
    appendFoldedLine(out, line);
    return out;
}

QString joinedName(const QStringList &parts)
{
    // Given, additional, family: the order a name is said in.
    QStringList words;
    for (const int index : {1, 2, 0}) {
        const QString part = parts.value(index).trimmed();
        if (!part.isEmpty())
            words.append(part);
    }
    return words.join(u' ');
}

} // namespace

std::optional<AddressCard> AddressCard::read(QByteArrayView bytes)
{
    // The physical lines, then the logical ones: a line starting with a
    // blank continues the one before, and so does the line after a
    // quoted-printable value's soft break.
    QList<QByteArrayView> physical;
    qsizetype start = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype end = lineEndLength(bytes, at);
        if (end == 0) {
            ++at;
            continue;
        }
        physical.append(bytes.sliced(start, at - start));
        at += end;
        start = at;
    }
    if (start < bytes.size())
        physical.append(bytes.sliced(start));

    AddressCard card;
    bool begun = false;
    bool ended = false;
    QList<QByteArrayView> pieces;
    const auto close = [&]() {
        if (pieces.isEmpty())
            return;
        Line line;
        for (const QByteArrayView piece : pieces) {
            line.raw.append(piece);
            line.raw.append("\r\n");
        }
        UnfoldedLines unfolded;
        unfolded.append(line.raw);
        unfolded.finish();
        line.unfolded = unfolded.text();
        if (line.unfolded.endsWith('\n'))
            line.unfolded.chop(1);
        card.m_lines.append(line);
        pieces.clear();
    };
    for (const QByteArrayView piece : physical) {
        if (ended)
            break;
        const bool continues = !pieces.isEmpty()
            && ((!piece.isEmpty() && (piece[0] == ' ' || piece[0] == '\t'))
                || (pieces.back().endsWith('=') && isQuotedPrintable(pieces.front())));
        if (continues) {
            pieces.append(piece);
            continue;
        }
        close();
        if (piece.trimmed().isEmpty())
            continue;
        if (!begun) {
            if (!equalsIgnoringCase(piece.trimmed(), "BEGIN:VCARD"))
                continue;
            begun = true;
        }
        ended = equalsIgnoringCase(piece.trimmed(), "END:VCARD");
        pieces.append(piece);
    }
    close();
    if (!begun || !ended)
        return std::nullopt;

    // The properties an entry is made from.
    QString formattedName;
    QStringList nameParts;
    QStringList notes;
    int bestPreference = 0;
    QString number;
    for (const Line &line : std::as_const(card.m_lines)) {
        const qsizetype colon = propertyColon(line.unfolded);
        Kind kind = Kind::Other;
        if (colon >= 0) {
            const VCardProperty property = splitProperty(line.unfolded, colon);
            if (property.is("VERSION")) {
                const QByteArrayView version = property.value.trimmed();
                card.m_version21 = version == "2.1";
                card.m_version4 = version == "4.0";
                kind = Kind::Version;
            } else if (property.is("FN")) {
                kind = Kind::FormattedName;
            } else if (property.is("N")) {
                kind = Kind::Name;
            } else if (property.is("TEL")) {
                kind = Kind::Number;
            } else if (property.is("NOTE")) {
                kind = Kind::Note;
            } else if (property.is("KIND") || property.is("X-ADDRESSBOOKSERVER-KIND")) {
                kind = Kind::GroupKind;
                card.m_group
                    = card.m_group || equalsIgnoringCase(property.value.trimmed(), "group");
            } else if (property.is("END")) {
                kind = Kind::End;
            }
        }
        card.m_kinds.append(kind);
    }
    const VCardDialect dialect = card.m_version21 ? VCardDialect::V21 : VCardDialect::V30;
    for (qsizetype i = 0; i < card.m_lines.size(); ++i) {
        const Kind kind = card.m_kinds.at(i);
        if (kind != Kind::FormattedName && kind != Kind::Name && kind != Kind::Number
            && kind != Kind::Note)
            continue;
        const QByteArray &unfolded = card.m_lines.at(i).unfolded;
        const VCardProperty property = splitProperty(unfolded, propertyColon(unfolded));
        PropertyParameters parameters = parseParameters(property.parameters);
        if (card.m_version4)
            parameters.charset = {};
        const DecodedValue decoded = decodeValue(property.value, parameters, TextEncoding(), false);
        if (!decoded.ok())
            return std::nullopt;
        switch (kind) {
        case Kind::FormattedName:
            if (formattedName.isEmpty())
                formattedName = unescapeText(decoded.text, dialect);
            break;
        case Kind::Name:
            if (nameParts.isEmpty())
                nameParts = structuredComponents(decoded.text, dialect);
            break;
        case Kind::Note:
            notes.append(unescapeText(decoded.text, dialect));
            break;
        case Kind::Number: {
            // A URI has no text escapes; an explicit text value is never a URI.
            const bool uri = equalsIgnoringCase(parameters.valueType, "URI");
            QString text = uri ? decoded.text : unescapeText(decoded.text, dialect);
            if (uri || parameters.valueType.isEmpty())
                text = withoutTelScheme(text);
            if (text.trimmed().isEmpty())
                break;
            const int preference = parameters.preference;
            const bool better = card.m_number < 0
                || (preference > 0 && (bestPreference == 0 || preference < bestPreference));
            if (better) {
                card.m_number = i;
                bestPreference = preference;
                number = text;
            }
            break;
        }
        default:
            break;
        }
    }
    card.m_texts.name = formattedName.trimmed().isEmpty() ? joinedName(nameParts) : formattedName;
    card.m_texts.phone = number;
    card.m_texts.note = notes.join(u'\n');
    return card;
}

bool AddressCard::isEntry() const
{
    return !m_group && (!m_texts.name.isEmpty() || !m_texts.phone.isEmpty());
}

QByteArray AddressCard::made(const EntryTexts &texts, const QString &uid)
{
    QByteArray card("BEGIN:VCARD\r\nVERSION:3.0\r\n");
    appendFoldedLine(card, "UID:" + escapedVCardText(uid).toUtf8());
    const QByteArray name = escapedVCardText(texts.name).toUtf8();
    appendFoldedLine(card, "FN:" + name);
    appendFoldedLine(card, "N:;" + name + ";;;");
    if (!texts.phone.isEmpty()) {
        // A number that looks like a tel: URI keeps its "tel:" when read back.
        QByteArray property = "TEL;TYPE=CELL";
        if (startsWithTel(texts.phone))
            property.append(";VALUE=text");
        appendFoldedLine(card, property + ':' + escapedVCardText(texts.phone).toUtf8());
    }
    if (!texts.note.isEmpty())
        appendFoldedLine(card, "NOTE:" + escapedVCardText(texts.note).toUtf8());
    card.append("END:VCARD\r\n");
    return card;
}

QByteArray AddressCard::rewritten(const EntryTexts &texts) const
{
    const bool nameChanged = texts.name != m_texts.name;
    const bool numberChanged = texts.phone != m_texts.phone;
    const bool noteChanged = texts.note != m_texts.note;

    // A property written anew: its group and parameters kept, its value in
    // plain UTF-8 (2.1 says so, where ASCII is the default).
    const auto line = [&](qsizetype index, const QByteArray &value) {
        const QByteArray &unfolded = m_lines.at(index).unfolded;
        const VCardProperty property = splitProperty(unfolded, propertyColon(unfolded));
        QByteArray text;
        if (!property.group.isEmpty())
            text.append(property.group).append('.');
        text.append(property.name);
        text.append(keptParameters(property.parameters));
        if (m_version21)
            text.append(";CHARSET=UTF-8");
        text.append(':').append(value);
        return folded(text);
    };
    const QByteArray name = escapedVCardText(texts.name).toUtf8();
    const auto numberValue = [&](qsizetype index) {
        const QByteArray &unfolded = m_lines.at(index).unfolded;
        const VCardProperty property = splitProperty(unfolded, propertyColon(unfolded));
        const PropertyParameters parameters = parseParameters(property.parameters);
        if (equalsIgnoringCase(parameters.valueType, "URI"))
            return QByteArray("tel:") + texts.phone.toUtf8();
        return escapedVCardText(texts.phone).toUtf8();
    };

    QByteArray out;
    bool noteWritten = false;
    bool hasName = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Kind kind = m_kinds.at(i);
        switch (kind) {
        case Kind::FormattedName:
            out.append(nameChanged ? line(i, name) : m_lines.at(i).raw);
            continue;
        case Kind::Name:
            hasName = true;
            out.append(nameChanged ? line(i, ';' + name + ";;;") : m_lines.at(i).raw);
            continue;
        case Kind::Number:
            if (i == m_number && numberChanged) {
                if (!texts.phone.isEmpty())
                    out.append(line(i, numberValue(i)));
                continue;
            }
            break;
        case Kind::Note:
            if (noteChanged) {
                if (!noteWritten && !texts.note.isEmpty())
                    out.append(line(i, escapedVCardText(texts.note).toUtf8()));
                noteWritten = true;
                continue;
            }
            break;
        case Kind::End: {
            // What the card lacked, before its end.
            const bool hadFormattedName = m_kinds.contains(Kind::FormattedName);
            if (nameChanged && !hadFormattedName)
                appendFoldedLine(out, "FN:" + name);
            if (nameChanged && !hasName && !m_version4)
                appendFoldedLine(out, "N:;" + name + ";;;");
            if (numberChanged && m_number < 0 && !texts.phone.isEmpty()) {
                QByteArray property = m_version4 ? "TEL;TYPE=cell" : "TEL;TYPE=CELL";
                if (startsWithTel(texts.phone))
                    property.append(";VALUE=text");
                appendFoldedLine(out, property + ':' + escapedVCardText(texts.phone).toUtf8());
            }
            if (noteChanged && !noteWritten && !texts.note.isEmpty())
                appendFoldedLine(out, "NOTE:" + escapedVCardText(texts.note).toUtf8());
            break;
        }
        default:
            break;
        }
        out.append(m_lines.at(i).raw);
    }
    return out;
}

} // namespace dialvault
