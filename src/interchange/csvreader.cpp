#include "interchange/csvreader.h"

#include "interchange/contactdraft.h"
#include "interchange/csvcolumns.h"
#include "interchange/csvparser.h"
#include "interchange/encodingguess.h"
#include "interchange/lineends.h"
#include "interchange/readfault.h"
#include "interchange/textencoding.h"
#include "interchange/utf8.h"

#include <algorithm>

namespace dialvault {

namespace {

bool isMobileType(const QString &type)
{
    const QString lower = type.trimmed().toLower();
    return lower == QStringLiteral("mobile") || lower == QStringLiteral("cell")
        || lower == QStringLiteral("iphone");
}

bool hasDigit(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

void addNumbers(ContactDraft &draft, const CsvColumn &column, const QString &cell,
                const QString &typeCell)
{
    DraftNumber number;
    number.label = column.label;
    number.mobile = column.mobile;
    number.preference = column.preferred ? 1 : 0;
    if (column.typeColumn >= 0) {
        // Web mail marks the primary number's type with "* ".
        QString type = typeCell;
        if (type.startsWith(QStringLiteral("* "))) {
            type = type.mid(2);
            number.preference = 1;
        }
        number.label = type;
        number.mobile = isMobileType(type);
    }
    const QStringList parts
        = column.ownField ? QStringList{cell} : cell.split(QStringLiteral(" ::: "));
    for (const QString &part : parts) {
        if (!column.ownField && !hasDigit(part))
            continue;
        number.number = part;
        draft.numbers.append(number);
    }
}

ContactDraft draftOf(const QList<CsvColumn> &columns, const QStringList &cells)
{
    ContactDraft draft;
    draft.structuredName = QStringList(3);
    draft.firstMiddleLast = QStringList(3);
    QStringList notes;
    const auto keepFirst = [](QString &field, const QString &cell) {
        if (field.isEmpty())
            field = cell;
    };
    for (qsizetype i = 0; i < columns.size() && i < cells.size(); ++i) {
        const QString &cell = cells[i];
        switch (columns[i].role) {
        case CsvRole::FormattedName:
            keepFirst(draft.formattedName, cell);
            break;
        case CsvRole::Given:
            keepFirst(draft.structuredName[0], cell);
            break;
        case CsvRole::Additional:
            keepFirst(draft.structuredName[1], cell);
            break;
        case CsvRole::Family:
            keepFirst(draft.structuredName[2], cell);
            break;
        case CsvRole::DisplayName:
            keepFirst(draft.displayName, cell);
            break;
        case CsvRole::First:
            keepFirst(draft.firstMiddleLast[0], cell);
            break;
        case CsvRole::Middle:
            keepFirst(draft.firstMiddleLast[1], cell);
            break;
        case CsvRole::Last:
            keepFirst(draft.firstMiddleLast[2], cell);
            break;
        case CsvRole::Note:
            if (!cell.isEmpty())
                notes.append(cell);
            break;
        case CsvRole::Number:
            if (!cell.isEmpty())
                addNumbers(draft, columns[i], cell, cells.value(columns[i].typeColumn));
            break;
        case CsvRole::NumberType:
        case CsvRole::Ignored:
            break;
        }
    }
    draft.note = notes.join(u'\n');
    return draft;
}

bool allEmpty(const QStringList &cells)
{
    return std::all_of(cells.begin(), cells.end(), [](const QString &c) { return c.isEmpty(); });
}

// Why a header row that names no column this reader knows is refused: a
// text that is not CSV at all (one column, or bytes that are not text), or
// a CSV file of other things, whose columns the person is shown.
ReadFailure headerFailure(const QStringList &cells)
{
    const bool text = std::none_of(cells.begin(), cells.end(), [](const QString &cell) {
        return std::any_of(cell.begin(), cell.end(), [](QChar c) {
            return c.category() == QChar::Other_Control && c != u'\t';
        });
    });
    if (cells.size() < 2 || !text)
        return readFailure(ReadFault::NotContacts, 1);
    QStringList names;
    for (const QString &cell : cells)
        names.append(cell.trimmed());
    return unknownColumnsFailure(names);
}

// The refusal of a file whose header row, alone, shows that it is no
// contacts file; none when it may be one.
std::optional<ReadFailure> headerRefusal(QStringView header)
{
    CsvParser parser(header, csvSeparator(header));
    CsvRecord record;
    if (!parser.next(record)) {
        if (parser.failure())
            return std::nullopt; // a quoted header cell may go on over lines
        return readFailure(ReadFault::NotContacts, 1);
    }
    if (!holdsContacts(csvColumns(record.cells)))
        return headerFailure(record.cells);
    return std::nullopt;
}

// Of the code pages, the one in which the header row names the most known
// columns; `guessed` unless another names more.
TextEncoding headerCodePage(QByteArrayView header, const TextEncoding &guessed)
{
    TextEncoding best = guessed;
    QString text;
    qsizetype most = guessed.decode(header, text) < 0 ? knownCsvHeaderColumns(text) : 0;
    for (const TextEncoding &page : csvCodePages()) {
        if (page == guessed || page.decode(header, text) >= 0)
            continue;
        if (const qsizetype known = knownCsvHeaderColumns(text); known > most) {
            most = known;
            best = page;
        }
    }
    return best;
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
        const QByteArrayView first = m_pieces.next();
        const QByteArray headerBytes = first.first(lineLength(first)).toByteArray();
        const int invalidLine = firstInvalidUtf8Line(first);
        if (invalidLine < 0)
            return cannotRead();
        EncodingGuess guess;
        if (!m_declaredUtf8 && invalidLine > 0) {
            if (!sniff(guess))
                return false;
            if (guess.assumed)
                guess.encoding = headerCodePage(headerBytes, guess.encoding);
        }

        // The header alone decides whether this is CSV at all, before any
        // fault in the rest of a file that may be anything.
        QString header;
        if (guess.encoding.decode(headerBytes, header) >= 0)
            TextEncoding::windows1256().decode(headerBytes, header);
        if (std::optional<ReadFailure> refusal = headerRefusal(header))
            return fail(*refusal);

        if (guess.encoding.isUtf8() && invalidLine > 0)
            return fail(readFailure(ReadFault::InvalidBytes, invalidLine));
        if (!guess.encoding.isUtf8() && !checkCodePage(guess.encoding))
            return false;
        m_encoding = guess.encoding;
        if (guess.assumed)
            m_tally.assumedEncoding = guess.encoding.shownName();
        return m_pieces.rewind() || cannotRead();
    }

    bool next(ImportedEntry &entry) override
    {
        if (m_tally.failure)
            return false;
        if (!m_parser && !readOn())
            return false;
        for (;;) {
            if (!m_parser->next(m_record)) {
                if (m_parser->failure())
                    return fail(*m_parser->failure());
                if (!m_parser->needsMore() || !readOn())
                    return false;
                continue;
            }
            if (!m_columns) {
                m_columns = csvColumns(m_record.cells);
                if (!holdsContacts(*m_columns))
                    return fail(headerFailure(m_record.cells));
                continue;
            }
            const QList<CsvColumn> &columns = *m_columns;
            if (allEmpty(m_record.cells))
                continue;
            // A cell past the header is a shifted row: reading on would put
            // numbers into names.
            if (m_record.cells.size() > columns.size()
                && !allEmpty(m_record.cells.mid(columns.size())))
                return fail(readFailure(ReadFault::TooManyCells, m_record.line));
            if (std::optional<ImportedEntry> read
                = entryFromDraft(draftOf(columns, m_record.cells))) {
                entry = std::move(*read);
                return true;
            }
            ++m_tally.withoutNameOrNumber;
        }
    }

private:
    bool cannotRead() { return fail(readFailure(ReadFault::CannotOpen, 0)); }

    static qsizetype lineLength(QByteArrayView bytes)
    {
        qsizetype end = 0;
        while (end < bytes.size() && !isLineEndAt(bytes, end))
            ++end;
        return end;
    }

    // The line of the first byte that is not UTF-8, from `first` (the first
    // piece) on: 0 when there is none, -1 when the file cannot be read.
    int firstInvalidUtf8Line(QByteArrayView first)
    {
        for (QByteArrayView piece = first; !piece.isEmpty(); piece = m_pieces.next()) {
            if (const qsizetype invalid = firstInvalidUtf8(piece); invalid >= 0)
                return m_pieces.firstLine() + lineNumberAt(piece, invalid) - 1;
        }
        return m_pieces.failed() ? -1 : 0;
    }

    bool sniff(EncodingGuess &guess)
    {
        if (!m_pieces.rewind())
            return cannotRead();
        EncodingSniffer sniffer;
        for (QByteArrayView piece = m_pieces.next(); !piece.isEmpty(); piece = m_pieces.next())
            sniffer.add(piece, [&](qsizetype at) {
                return m_pieces.firstLine() + lineNumberAt(piece, at) - 1;
            });
        if (m_pieces.failed())
            return cannotRead();
        guess = sniffer.guess();
        return true;
    }

    // Every byte is text in the code page, or the file is refused at the first that is not.
    bool checkCodePage(const TextEncoding &encoding)
    {
        if (!m_pieces.rewind())
            return cannotRead();
        for (QByteArrayView piece = m_pieces.next(); !piece.isEmpty(); piece = m_pieces.next()) {
            if (const qsizetype invalid = encoding.firstInvalid(piece); invalid >= 0)
                return fail(readFailure(ReadFault::InvalidBytes,
                                        m_pieces.firstLine() + lineNumberAt(piece, invalid) - 1));
        }
        return !m_pieces.failed() || cannotRead();
    }

    // Reads on into the next pieces, keeping what the parser left unread (a
    // record cut by the end of the text), at least doubling it. False when
    // the file could not be read.
    bool readOn()
    {
        QString text = m_parser ? m_parser->unread().toString() : QString();
        const qsizetype wanted = 2 * text.size();
        bool last = false;
        do {
            const QByteArrayView piece = m_pieces.next();
            if (piece.isEmpty()) {
                if (m_pieces.failed())
                    return cannotRead();
                last = true;
                break;
            }
            QString decoded;
            if (const qsizetype invalid = m_encoding.decode(piece, decoded); invalid >= 0)
                return fail(readFailure(ReadFault::InvalidBytes,
                                        m_pieces.firstLine() + lineNumberAt(piece, invalid) - 1));
            text += decoded;
        } while (text.size() < wanted);
        m_text = std::move(text);
        if (m_parser)
            m_parser->continueWith(m_text, last);
        else
            m_parser.emplace(m_text, csvSeparator(m_text), last);
        return true;
    }

    LinePieces &m_pieces;
    const bool m_declaredUtf8;
    TextEncoding m_encoding;
    QString m_text; // what the parser reads
    std::optional<CsvParser> m_parser;
    CsvRecord m_record;
    std::optional<QList<CsvColumn>> m_columns; // from the header row
};

} // namespace

std::unique_ptr<EntryReader> csvReader(LinePieces &pieces, bool declaredUtf8)
{
    return std::make_unique<Reader>(pieces, declaredUtf8);
}

qsizetype knownCsvHeaderColumns(QStringView text)
{
    CsvParser parser(text, csvSeparator(text));
    CsvRecord header;
    return parser.next(header) ? knownColumnCount(csvColumns(header.cells)) : 0;
}

} // namespace dialvault
