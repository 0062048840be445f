#include "interchange/vcardreader.h"

#include "interchange/contactdraft.h"
#include "interchange/readfault.h"
#include "interchange/textencoding.h"
#include "interchange/unfoldedlines.h"
#include "interchange/vcardproperty.h"
#include "interchange/vcardtext.h"

#include <QHash>

#include <algorithm>

namespace dialvault {

namespace {

struct RawNumber
{
    QString value;
    QByteArrayList types;
    QByteArray group;
    int preference = 0;
    QByteArray valueType;
};

// The properties of one card that an entry is made from, decoded but still
// escaped: the escapes depend on VERSION, which may come anywhere in the card.
struct Card
{
    int beginLine = 0;
    VCardDialect dialect = VCardDialect::V30;
    QString formattedName;
    QString structuredName;
    QList<RawNumber> numbers;
    QStringList notes;
    QHash<QByteArray, QString> labels; // by group
};

bool isMobile(const QByteArray &type)
{
    return type == "cell" || type == "mobile" || type == "iphone";
}

QString labelOfTypes(const QByteArrayList &types)
{
    QStringList words;
    for (const QByteArray &type : types) {
        if (type == "voice" || type == "pref")
            continue;
        const QString word = isMobile(type) ? QStringLiteral("mobile") : QString::fromUtf8(type);
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

QString withoutTelScheme(const QString &number)
{
    return number.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive) ? number.mid(4) : number;
}

QString numberText(const RawNumber &raw, VCardDialect dialect)
{
    // A URI has no text escapes; an explicit text value is never a URI.
    if (raw.valueType == "uri")
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
    for (const RawNumber &raw : card.numbers) {
        DraftNumber number;
        number.number = numberText(raw, card.dialect);
        const auto label = card.labels.constFind(raw.group);
        number.label = !raw.group.isEmpty() && label != card.labels.constEnd()
            ? plainLabel(unescapeText(*label, card.dialect))
            : labelOfTypes(raw.types);
        number.mobile = std::any_of(raw.types.begin(), raw.types.end(), isMobile);
        number.preference = raw.preference;
        draft.numbers.append(number);
    }
    QStringList notes;
    for (const QString &note : card.notes)
        notes.append(unescapeText(note, card.dialect));
    draft.note = notes.join(u'\n');
    return draft;
}

bool isVCardValue(QByteArrayView value)
{
    return value.trimmed().compare("VCARD", Qt::CaseInsensitive) == 0;
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
            fail(ReadFault::CardNeverEnds, m_card.beginLine);
        if (m_result.failure)
            return ReadResult{{}, 0, m_result.failure};
        return m_result;
    }

private:
    int lineOf(const char *at) const { return m_lines.lineAt(at - m_lines.text().constData()); }

    void fail(ReadFault fault, int line) { m_result.failure = readFailure(fault, line); }

    void readLine(QByteArrayView line)
    {
        if (line.trimmed().isEmpty()) {
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
        const VCardProperty property = parseProperty(line, colon);
        if (!m_inCard) {
            if (property.name == "BEGIN" && isVCardValue(property.value)) {
                m_inCard = true;
                m_card = Card{};
                m_card.beginLine = lineOf(line.data());
            } else {
                fail(ReadFault::OutsideCard, lineOf(line.data()));
            }
            return;
        }
        m_base64Block = property.encoding == "B" || property.encoding == "BASE64";
        if (property.name == "BEGIN" && isVCardValue(property.value))
            fail(ReadFault::CardNeverEnds, m_card.beginLine);
        else if (property.name == "END" && isVCardValue(property.value))
            endCard();
        else
            readProperty(property);
    }

    void readProperty(const VCardProperty &property)
    {
        const QByteArray &name = property.name;
        const bool wanted = name == "FN" || name == "N" || name == "TEL" || name == "NOTE"
            || name == "VERSION" || (name == "X-ABLABEL" && !property.group.isEmpty());
        if (!wanted)
            return;
        const DecodedValue decoded = decodeValue(property, m_encoding);
        if (!decoded.ok()) {
            fail(decoded.fault, lineOf(property.value.data() + decoded.faultAt));
            return;
        }
        if (name == "VERSION") {
            m_card.dialect = decoded.text.trimmed() == QStringLiteral("2.1") ? VCardDialect::V21
                                                                             : VCardDialect::V30;
        } else if (name == "FN") {
            if (m_card.formattedName.isEmpty())
                m_card.formattedName = decoded.text;
        } else if (name == "N") {
            if (m_card.structuredName.isEmpty())
                m_card.structuredName = decoded.text;
        } else if (name == "TEL") {
            m_card.numbers.append(RawNumber{decoded.text, property.types, property.group,
                                            property.preference, property.valueType});
        } else if (name == "NOTE") {
            m_card.notes.append(decoded.text);
        } else {
            m_card.labels.insert(property.group, decoded.text);
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
