#include "interchange/vcardreader.h"

#include "interchange/contactdraft.h"
#include "interchange/encodingguess.h"
#include "interchange/readfault.h"
#include "interchange/textencoding.h"
#include "interchange/unfoldedlines.h"
#include "interchange/utf8.h"
#include "interchange/vcardproperty.h"
#include "interchange/vcardtext.h"

#include <algorithm>

namespace dialvault {

namespace {

// A number as the card gives it; the views point into the unfolded text,
// which outlives the card.
struct RawNumber
{
    QString value;
    QVarLengthArray<QByteArrayView, 4> types;
    QByteArrayView group;
    QByteArrayView valueType;
    int preference = 0;
};

// The properties of one card that an entry is made from, decoded but still
// escaped: the escapes depend on VERSION, which may come anywhere in the card.
struct Card
{
    const char *begin = nullptr; // where BEGIN:VCARD stands, for a card that never ends
    VCardDialect dialect = VCardDialect::V30;
    bool version4 = false; // UTF-8 by definition, whatever the rest of the file is
    QString formattedName;
    QString structuredName;
    QList<RawNumber> numbers;
    QStringList notes;
    QList<std::pair<QByteArrayView, QString>> labels; // (group, label)

    // Kept between cards, so that the lists keep their storage.
    void clear(const char *beginAt)
    {
        begin = beginAt;
        dialect = VCardDialect::V30;
        version4 = false;
        formattedName.clear();
        structuredName.clear();
        numbers.clear();
        notes.clear();
        labels.clear();
    }
};

bool isMobile(QByteArrayView type)
{
    return equalsIgnoringCase(type, "CELL") || equalsIgnoringCase(type, "MOBILE")
        || equalsIgnoringCase(type, "IPHONE");
}

// The types that say something, as a label: "Work", "Home fax", "Mobile".
QString labelOfTypes(const RawNumber &number)
{
    QStringList words;
    for (const QByteArrayView type : number.types) {
        if (equalsIgnoringCase(type, "VOICE") || equalsIgnoringCase(type, "PREF"))
            continue;
        const QString word
            = isMobile(type) ? QStringLiteral("mobile") : QString::fromUtf8(type).toLower();
        if (!words.contains(word))
            words.append(word);
    }
    QString label = words.join(u' ');
    if (!label.isEmpty())
        label[0] = label[0].toUpper();
    return label;
}

QString labelOf(const RawNumber &number, const Card &card)
{
    if (!number.group.isEmpty()) {
        for (const auto &[group, label] : card.labels) {
            if (equalsIgnoringCase(group, number.group))
                return unescapeText(label, card.dialect);
        }
    }
    return labelOfTypes(number);
}

QString withoutTelScheme(const QString &number)
{
    return number.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive) ? number.mid(4) : number;
}

QString numberText(const RawNumber &raw, VCardDialect dialect)
{
    // A URI has no text escapes; an explicit text value is never a URI.
    if (equalsIgnoringCase(raw.valueType, "URI"))
        return withoutTelScheme(raw.value);
    const QString text = unescapeText(raw.value, dialect);
    return raw.valueType.isEmpty() ? withoutTelScheme(text) : text;
}

ContactDraft draftOf(const Card &card)
{
    ContactDraft draft;
    draft.formattedName = unescapeText(card.formattedName, card.dialect);
    if (!card.structuredName.isEmpty()) {
        const QStringList parts = structuredComponents(card.structuredName, card.dialect);
        // Family; given; additional; prefixes; suffixes.
        draft.structuredName = {parts.value(1), parts.value(2), parts.value(0)};
    }
    draft.numbers.reserve(card.numbers.size());
    for (const RawNumber &raw : card.numbers) {
        DraftNumber number;
        number.number = numberText(raw, card.dialect);
        number.label = labelOf(raw, card);
        number.mobile = std::any_of(raw.types.begin(), raw.types.end(), isMobile);
        number.preference = raw.preference;
        draft.numbers.append(number);
    }
    if (card.notes.size() == 1) {
        draft.note = unescapeText(card.notes.front(), card.dialect);
    } else {
        QStringList notes;
        for (const QString &note : card.notes)
            notes.append(unescapeText(note, card.dialect));
        draft.note = notes.join(u'\n');
    }
    return draft;
}

bool isVCardValue(QByteArrayView value)
{
    return equalsIgnoringCase(value.trimmed(), "VCARD");
}

bool isComment(QByteArrayView line)
{
    return line.startsWith('#');
}

// The logical line that starts at `begin` in `text`, up to its LF.
QByteArrayView lineFrom(QByteArrayView text, qsizetype begin)
{
    const qsizetype end = text.indexOf('\n', begin);
    return text.sliced(begin, (end < 0 ? text.size() : end) - begin);
}

// True when the card whose lines follow `rest` says VERSION:4.0 before it
// ends: its values are UTF-8 then, read before VERSION or after it.
bool isVersion4(QByteArrayView rest)
{
    qsizetype at = 0;
    while (at < rest.size()) {
        const QByteArrayView line = lineFrom(rest, at);
        at += line.size() + 1;
        const qsizetype colon = propertyColon(line);
        if (colon < 0)
            continue;
        const VCardProperty property = splitProperty(line, colon);
        if (property.is("VERSION"))
            return property.value.trimmed() == "4.0";
        if (property.is("END") || property.is("BEGIN"))
            return false;
    }
    return false;
}

// The encoding of a vCard file's text that has no byte order mark: UTF-8
// when all of it is (`allUtf8`), else what the lines that do not name their
// own charset tell.
EncodingGuess vcardEncoding(const QByteArray &text, bool &allUtf8)
{
    allUtf8 = firstInvalidUtf8(text) < 0;
    if (allUtf8)
        return {};
    EncodingSniffer sniffer(text.constData());
    qsizetype at = 0;
    while (at < text.size()) {
        const QByteArrayView line = lineFrom(text, at);
        at += line.size() + 1;
        const qsizetype colon = propertyColon(line);
        if (colon < 0 || parseParameters(splitProperty(line, colon).parameters).charset.isEmpty())
            sniffer.add(line);
    }
    return sniffer.guess();
}

class Reader
{
public:
    Reader(const UnfoldedLines &lines, TextEncoding encoding, bool allUtf8)
        : m_lines(lines)
        , m_encoding(std::move(encoding))
        , m_allUtf8(allUtf8)
    { }

    ReadResult read()
    {
        const QByteArray &text = m_lines.text();
        qsizetype begin = 0;
        while (begin <= text.size() && !m_result.failure) {
            const QByteArrayView line = lineFrom(text, begin);
            readLine(line);
            begin += line.size() + 1;
        }
        if (m_inCard && !m_result.failure)
            fail(ReadFault::CardNeverEnds, lineOf(m_card.begin));
        if (m_result.failure)
            return refusedRead(*m_result.failure);
        return m_result;
    }

private:
    int lineOf(const char *at) const { return m_lines.lineAt(at - m_lines.text().constData()); }

    void fail(ReadFault fault, int line) { m_result.failure = readFailure(fault, line); }

    void readLine(QByteArrayView line)
    {
        if (line.isEmpty() || ((line[0] == ' ' || line[0] == '\t') && line.trimmed().isEmpty())) {
            m_base64Block = false;
            return;
        }
        if (isComment(line)) {
            ++m_result.skippedLines;
            return;
        }
        const qsizetype colon = propertyColon(line);
        if (colon < 0) {
            // 2.1 lets base64 data run on over unindented lines until a blank
            // one. Any other line that is not a property breaks the card
            // structure or a property that is kept; inside one that is not
            // kept (an address run on without folding), nothing is lost.
            if (m_inCard && m_base64Block)
                return;
            if (m_inCard && !m_lastKept)
                ++m_result.skippedLines;
            else
                fail(m_inCard ? ReadFault::NotAProperty : ReadFault::OutsideCard,
                     lineOf(line.data()));
            return;
        }
        const VCardProperty property = splitProperty(line, colon);
        const bool isBegin = property.is("BEGIN") && isVCardValue(property.value);
        m_lastKept = true;
        if (!m_inCard) {
            if (!isBegin) {
                fail(ReadFault::OutsideCard, lineOf(line.data()));
                return;
            }
            m_inCard = true;
            m_card.clear(line.data());
            if (!m_allUtf8) {
                const QByteArrayView text(m_lines.text());
                m_card.version4 = isVersion4(text.sliced(line.data() + line.size() - text.data()));
            }
            return;
        }
        m_base64Block = !property.parameters.isEmpty() && namesBase64(property.parameters);
        if (isBegin)
            fail(ReadFault::CardNeverEnds, lineOf(m_card.begin));
        else if (property.is("END") && isVCardValue(property.value))
            endCard(line);
        else
            m_lastKept = readProperty(property);
    }

    // True when the property is one an entry is made from.
    bool readProperty(const VCardProperty &property)
    {
        if (property.is("VERSION")) {
            const QByteArrayView version = property.value.trimmed();
            m_card.dialect = version == "2.1" ? VCardDialect::V21 : VCardDialect::V30;
            m_card.version4 = version == "4.0";
            return true;
        }
        enum { FormattedName, Name, Number, Note, Label } kind;
        if (property.is("TEL"))
            kind = Number;
        else if (property.is("FN"))
            kind = FormattedName;
        else if (property.is("N"))
            kind = Name;
        else if (property.is("NOTE"))
            kind = Note;
        else if (property.is("X-ABLABEL") && !property.group.isEmpty())
            kind = Label;
        else
            return false;
        PropertyParameters parameters = parseParameters(property.parameters);
        if (m_card.version4)
            parameters.charset = {};
        // A file that is not all UTF-8 was guessed from the lines that name
        // no charset: each value is checked in its own.
        const DecodedValue decoded = decodeValue(
            property.value, parameters, m_card.version4 ? TextEncoding() : m_encoding, m_allUtf8);
        if (!decoded.ok()) {
            fail(decoded.fault, lineOf(property.value.data() + decoded.faultAt));
            return true;
        }
        switch (kind) {
        case FormattedName:
            if (m_card.formattedName.isEmpty())
                m_card.formattedName = decoded.text;
            break;
        case Name:
            if (m_card.structuredName.isEmpty())
                m_card.structuredName = decoded.text;
            break;
        case Number:
            m_card.numbers.append(RawNumber{decoded.text, parameters.types, property.group,
                                            parameters.valueType, parameters.preference});
            break;
        case Note:
            m_card.notes.append(decoded.text);
            break;
        case Label:
            m_card.labels.append({property.group, decoded.text});
            break;
        }
        return true;
    }

    void endCard(QByteArrayView endLine)
    {
        m_inCard = false;
        m_base64Block = false;
        // Other bytes than UTF-8 in a 4.0 card refuse the file, wherever they are.
        if (m_card.version4 && !m_allUtf8) {
            const QByteArrayView card(m_card.begin, endLine.data() + endLine.size() - m_card.begin);
            const qsizetype invalid = firstInvalidUtf8(card);
            if (invalid >= 0) {
                fail(ReadFault::InvalidBytes, lineOf(m_card.begin + invalid));
                return;
            }
        }
        if (std::optional<ImportedEntry> entry = entryFromDraft(draftOf(m_card)))
            m_result.entries.append(*entry);
        else
            ++m_result.withoutNameOrNumber;
    }

    const UnfoldedLines &m_lines;
    const TextEncoding m_encoding;
    const bool m_allUtf8; // every byte of the file is UTF-8: nothing more to check
    ReadResult m_result;
    Card m_card;
    bool m_inCard = false;
    bool m_base64Block = false;
    bool m_lastKept = true; // the last property is one an entry is made from
};

} // namespace

ReadResult readVCards(QByteArrayView bytes, bool declaredUtf8)
{
    const UnfoldedLines lines(bytes);
    EncodingGuess guess;
    bool allUtf8 = true;
    if (declaredUtf8)
        guess.invalidAt = firstInvalidUtf8(lines.text());
    else
        guess = vcardEncoding(lines.text(), allUtf8);
    if (guess.invalidAt >= 0)
        return refusedRead(readFailure(ReadFault::InvalidBytes, lines.lineAt(guess.invalidAt)));
    ReadResult result = Reader(lines, guess.encoding, allUtf8).read();
    if (result.ok() && guess.assumed)
        result.assumedEncoding = guess.encoding.shownName();
    return result;
}

} // namespace dialvault
