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
#include <functional>

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

// Whether the card whose lines follow `rest` says VERSION:4.0 before it
// ends: its values are UTF-8 then, read before VERSION or after it. Unknown
// when `rest` ends first and more of the file may follow (`more`).
std::optional<bool> isVersion4(QByteArrayView rest, bool more)
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
    return more ? std::nullopt : std::optional<bool>(false);
}

// Hands each settled line of `lines` after `at` to `visit` with its offset;
// returns where the next line begins.
qsizetype forEachSettledLine(const UnfoldedLines &lines, qsizetype at,
                             const std::function<void(QByteArrayView, qsizetype)> &visit)
{
    const QByteArray &text = lines.text();
    while (at < lines.settled()) {
        const QByteArrayView line = lineFrom(text, at);
        visit(line, at);
        at += line.size() + 1;
    }
    return at;
}

class Reader : public EntryReader
{
public:
    Reader(LinePieces &pieces, bool declaredUtf8)
        : m_pieces(pieces)
        , m_declaredUtf8(declaredUtf8)
    { }

    bool start() override
    {
        bool allUtf8 = false;
        if (!bytesAreUtf8(allUtf8))
            return false;
        if (!allUtf8 && !decideEncoding())
            return false;
        m_allUtf8 = m_allUtf8 || allUtf8;
        return m_pieces.rewind() || cannotRead();
    }

    bool next(ImportedEntry &entry) override
    {
        while (!m_tally.failure) {
            const QByteArray &text = m_lines.text();
            bool needMore = false;
            while (m_at < m_lines.settled() && !needMore) {
                const QByteArrayView line = lineFrom(text, m_at);
                needMore = !readLine(line);
                if (needMore)
                    break;
                m_at += line.size() + 1;
                if (m_tally.failure)
                    return false;
                if (m_ready) {
                    m_ready = false;
                    entry = std::move(m_entry);
                    return true;
                }
            }
            if (m_lines.finished()) {
                if (m_inCard)
                    return fail(readFailure(ReadFault::CardNeverEnds, lineOf(m_card.begin)));
                return false;
            }
            // A card is read whole from one text: one cut by the end of the
            // text is read again once more of it is there.
            if (m_inCard) {
                m_inCard = false;
                m_at = m_cardAt;
                m_tally.skippedLines = m_skippedBeforeCard;
                m_base64Block = m_base64BeforeCard;
            }
            m_lines.discard(m_at);
            m_at = 0;
            if (!readMore(m_lines))
                return cannotRead();
        }
        return false;
    }

private:
    bool cannotRead() { return fail(readFailure(ReadFault::CannotOpen, 0)); }

    // Appends the next pieces to `lines`, at least doubling what it holds, or
    // finishes it; false when the file could not be read.
    bool readMore(UnfoldedLines &lines)
    {
        const qsizetype held = lines.text().size();
        do {
            const QByteArrayView piece = m_pieces.next();
            if (piece.isEmpty()) {
                lines.finish();
                return !m_pieces.failed();
            }
            lines.append(piece);
        } while (lines.text().size() < 2 * held);
        return true;
    }

    // Whether every byte is UTF-8, as most files are: then nothing is
    // unfolded to find out, and no value is checked again.
    bool bytesAreUtf8(bool &allUtf8)
    {
        allUtf8 = true;
        for (QByteArrayView piece = m_pieces.next(); !piece.isEmpty(); piece = m_pieces.next()) {
            if (firstInvalidUtf8(piece) >= 0) {
                allUtf8 = false;
                break;
            }
        }
        return !m_pieces.failed() || cannotRead();
    }

    // For text that is not all UTF-8, over its logical lines: a fold may
    // have cut a character in two. With a byte order mark any other fault
    // refuses the file; without one, the lines that do not name their own
    // charset tell the code page.
    bool decideEncoding()
    {
        if (!m_pieces.rewind())
            return cannotRead();
        UnfoldedLines lines;
        EncodingSniffer sniffer;
        int invalidLine = 0;
        qsizetype at = 0;
        do {
            if (!readMore(lines))
                return cannotRead();
            at = forEachSettledLine(lines, at, [&](QByteArrayView line, qsizetype offset) {
                const auto lineOf = [&](qsizetype in) { return lines.lineAt(offset + in); };
                if (invalidLine == 0) {
                    if (const qsizetype invalid = firstInvalidUtf8(line); invalid >= 0)
                        invalidLine = lineOf(invalid);
                }
                const qsizetype colon = propertyColon(line);
                if (!m_declaredUtf8
                    && (colon < 0
                        || parseParameters(splitProperty(line, colon).parameters)
                               .charset.isEmpty()))
                    sniffer.add(line, lineOf);
            });
            lines.discard(std::min(at, lines.settled()));
            at = 0;
        } while (!lines.finished());

        m_allUtf8 = invalidLine == 0;
        if (m_declaredUtf8 || m_allUtf8) {
            if (invalidLine > 0)
                return fail(readFailure(ReadFault::InvalidBytes, invalidLine));
            m_allUtf8 = true;
            return true;
        }
        const EncodingGuess guess = sniffer.guess();
        if (guess.invalidLine > 0)
            return fail(readFailure(ReadFault::InvalidBytes, guess.invalidLine));
        m_encoding = guess.encoding;
        if (guess.assumed)
            m_tally.assumedEncoding = guess.encoding.shownName();
        return true;
    }

    int lineOf(const char *at) const { return m_lines.lineAt(at - m_lines.text().constData()); }

    void failAt(ReadFault fault, int line) { fail(readFailure(fault, line)); }

    // False when the line cannot be read before more of the file is there.
    bool readLine(QByteArrayView line)
    {
        if (line.isEmpty() || ((line[0] == ' ' || line[0] == '\t') && line.trimmed().isEmpty())) {
            m_base64Block = false;
            return true;
        }
        if (isComment(line)) {
            ++m_tally.skippedLines;
            return true;
        }
        const qsizetype colon = propertyColon(line);
        if (colon < 0) {
            // 2.1 lets base64 data run on over unindented lines until a blank
            // one. Any other line that is not a property breaks the card
            // structure or a property that is kept; inside one that is not
            // kept (an address run on without folding), nothing is lost.
            if (m_inCard && m_base64Block)
                return true;
            if (m_inCard && !m_lastKept)
                ++m_tally.skippedLines;
            else
                failAt(m_inCard ? ReadFault::NotAProperty : ReadFault::OutsideCard,
                       lineOf(line.data()));
            return true;
        }
        const VCardProperty property = splitProperty(line, colon);
        const bool isBegin = property.is("BEGIN") && isVCardValue(property.value);
        if (!m_inCard) {
            if (!isBegin) {
                failAt(ReadFault::OutsideCard, lineOf(line.data()));
                return true;
            }
            return beginCard(line);
        }
        m_lastKept = true;
        m_base64Block = !property.parameters.isEmpty() && namesBase64(property.parameters);
        if (isBegin)
            failAt(ReadFault::CardNeverEnds, lineOf(m_card.begin));
        else if (property.is("END") && isVCardValue(property.value))
            endCard(line);
        else
            m_lastKept = readProperty(property);
        return true;
    }

    bool beginCard(QByteArrayView line)
    {
        bool version4 = false;
        if (!m_allUtf8) {
            // The card's lines that are settled, after this one.
            const qsizetype settled = m_lines.settled();
            const qsizetype after = std::min(m_at + line.size() + 1, settled);
            const QByteArrayView rest
                = QByteArrayView(m_lines.text()).sliced(after, settled - after);
            const std::optional<bool> is4 = isVersion4(rest, !m_lines.finished());
            if (!is4)
                return false;
            version4 = *is4;
        }
        m_lastKept = true;
        m_inCard = true;
        m_cardAt = m_at;
        m_skippedBeforeCard = m_tally.skippedLines;
        m_base64BeforeCard = m_base64Block;
        m_card.clear(line.data());
        m_card.version4 = version4;
        return true;
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
            failAt(decoded.fault, lineOf(property.value.data() + decoded.faultAt));
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
                failAt(ReadFault::InvalidBytes, lineOf(m_card.begin + invalid));
                return;
            }
        }
        if (std::optional<ImportedEntry> entry = entryFromDraft(draftOf(m_card))) {
            m_entry = std::move(*entry);
            m_ready = true;
        } else {
            ++m_tally.withoutNameOrNumber;
        }
    }

    LinePieces &m_pieces;
    const bool m_declaredUtf8;
    TextEncoding m_encoding;
    bool m_allUtf8 = false; // every byte of the file is UTF-8: nothing more to check
    UnfoldedLines m_lines;
    qsizetype m_at = 0; // where the next line begins in m_lines
    Card m_card;
    bool m_inCard = false;
    bool m_base64Block = false;
    bool m_lastKept = true; // the last property is one an entry is made from
    // Where the card being read began, and what it may have changed since.
    qsizetype m_cardAt = 0;
    int m_skippedBeforeCard = 0;
    bool m_base64BeforeCard = false;
    ImportedEntry m_entry;
    bool m_ready = false;
};

} // namespace

std::unique_ptr<EntryReader> vcardReader(LinePieces &pieces, bool declaredUtf8)
{
    return std::make_unique<Reader>(pieces, declaredUtf8);
}

} // namespace dialvault
