#include "interchange/csvreader.h"

#include "interchange/contactdraft.h"
#include "interchange/csvcolumns.h"
#include "interchange/csvparser.h"
#include "interchange/readfault.h"

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

} // namespace

ReadResult readCsv(QStringView text)
{
    ReadResult result;
    CsvParser parser(text, csvSeparator(text));
    CsvRecord record;
    if (!parser.next(record)) {
        result.failure
            = parser.failure() ? parser.failure() : readFailure(ReadFault::NotContacts, 1);
        return result;
    }
    const QList<CsvColumn> columns = csvColumns(record.cells);
    if (!holdsContacts(columns)) {
        result.failure = headerFailure(record.cells);
        return result;
    }
    while (parser.next(record)) {
        if (allEmpty(record.cells))
            continue;
        // A cell past the header is a shifted row: reading on would put
        // numbers into names.
        if (record.cells.size() > columns.size() && !allEmpty(record.cells.mid(columns.size()))) {
            result.failure = readFailure(ReadFault::TooManyCells, record.line);
            break;
        }
        if (std::optional<ImportedEntry> entry = entryFromDraft(draftOf(columns, record.cells)))
            result.entries.append(*entry);
        else
            ++result.withoutNameOrNumber;
    }
    if (!result.failure)
        result.failure = parser.failure();
    if (result.failure) {
        result.entries.clear();
        result.withoutNameOrNumber = 0;
    }
    return result;
}

qsizetype knownCsvHeaderColumns(QStringView text)
{
    CsvParser parser(text, csvSeparator(text));
    CsvRecord header;
    return parser.next(header) ? knownColumnCount(csvColumns(header.cells)) : 0;
}

} // namespace dialvault
