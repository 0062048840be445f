#include "interchange/vcardreader.h"

#include "interchange/contactdraft.h"
#include "interchange/readfault.h"
#include "interchange/textencoding.h"
#include "interchange/unfoldedlines.h"
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

// The types that say something, in lower case: "work", "home fax", "mobile".
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
    return words.join(u' ');
}

// Address books wrap their built-in labels as "_$!<Work>!$_".
QString plainLabel(const QString &label)
{
    static const QString open = QStringLiteral("_$!<");
    static const QString close = QStringLiteral(">!$_");
    if (label.startsWith(open) && label.endsWith(close)
        && label.size() > open.size() + close.size())
        return label.mid(open.size(), label.size() - open.size() - close.size());
    return label;
}

QString labelOf(const RawNumber &number, const Card &card)
{
    if (!number.group.isEmpty()) {
        for (const auto &[group, label] : card.labels) {
            if (equalsIgnoringCase(group, number.group))
                return plainLabel(unescapeText(label, card.dialect));
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

class Reader
{
public:
    Reader(const UnfoldedLines &lines, TextEncoding encoding)
        : m_lines(lines)
        , m_encoding(encoding)
    { }

    ReadResult read()
    {
        const QByteArray &text = m_lines.text();
        qsizetype begin = 0;
        while (begin <= text.size() && !m_result.failure) {
            qsizetype end = text.indexOf('\n', begin);
            if (end < 0)
                end = text.size();
            readLine(QByteArrayView(text).sliced(begin, end - begin));
            begin = end + 1;
        }
        if (m_inCard && !m_result.failure)
            fail(ReadFault::CardNeverEnds, lineOf(m_card.begin));
        if (m_result.failure)
            return ReadResult{{}, 0, m_result.failure};
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
        const qsizetype colon = propertyColon(line);
        if (colon < 0) {
            // 2.1 lets base64 data run on over unindented lines until a blank one.
            if (!(m_inCard && m_base64Block))
                fail(m_inCard ? ReadFault::NotAProperty : ReadFault::OutsideCard,
                     lineOf(line.data()));
            return;
        }
        const VCardProperty property = splitProperty(line, colon);
        const bool isBegin = property.is("BEGIN") && isVCardValue(property.value);
        if (!m_inCard) {
            if (!isBegin) {
                fail(ReadFault::OutsideCard, lineOf(line.data()));
                return;
            }
            m_inCard = true;
            m_card.clear(line.data());
            return;
        }
        m_base64Block = !property.parameters.isEmpty() && namesBase64(property.parameters);
        if (isBegin)
            fail(ReadFault::CardNeverEnds, lineOf(m_card.begin));
        else if (property.is("END") && isVCardValue(property.value))
            endCard();
        else
            readProperty(property);
    }

    void readProperty(const VCardProperty &property)
    {
        if (property.is("VERSION")) {
            m_card.dialect
                = property.value.trimmed() == "2.1" ? VCardDialect::V21 : VCardDialect::V30;
            return;
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
            return;
        const PropertyParameters parameters = parseParameters(property.parameters);
        const DecodedValue decoded = decodeValue(property.value, parameters, m_encoding);
        if (!decoded.ok()) {
            fail(decoded.fault, lineOf(property.value.data() + decoded.faultAt));
            return;
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
    }

    void endCard()
    {
        m_inCard = false;
        m_base64Block = false;
        if (std::optional<ImportedEntry> entry = entryFromDraft(draftOf(m_card)))
            m_result.entries.append(*entry);
        else
            ++m_result.withoutNameOrNumber;
    }

    const UnfoldedLines &m_lines;
    const TextEncoding m_encoding;
    ReadResult m_result;
    Card m_card;
    bool m_inCard = false;
    bool m_base64Block = false;
};

} // namespace

ReadResult readVCards(QByteArrayView bytes, bool declaredUtf8)
{
    const UnfoldedLines lines(bytes);
    TextEncoding encoding = TextEncoding::Utf8;
    qsizetype invalidAt = -1;
    if (declaredUtf8) {
        invalidAt = firstInvalidUtf8(lines.text());
    } else {
        const EncodingGuess guess = guessEncoding(lines.text());
        encoding = guess.encoding;
        invalidAt = guess.invalidAt;
    }
    if (invalidAt >= 0)
        return ReadResult{{}, 0, readFailure(ReadFault::InvalidBytes, lines.lineAt(invalidAt))};
    return Reader(lines, encoding).read();
}

} // namespace dialvault
