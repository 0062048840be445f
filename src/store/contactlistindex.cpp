#include "store/contactlistindex.h"

#include "store/persiancollation.h"
#include "store/searchkeys.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace dialvault {

namespace {

// A few milliseconds of reading, so that the pages the window asks for
// meanwhile hardly wait.
constexpr int chunkRows = 4096;

// Keys compared as bytes, one after another in one block: a million small
// strings would cost more in their own allocations than in their bytes.
struct ByteKeys
{
    std::string bytes;
    std::vector<quint32> starts{0};

    void close() { starts.push_back(quint32(bytes.size())); }
    std::string_view at(qint64 i) const
    {
        return std::string_view(bytes).substr(starts[i], starts[i + 1] - starts[i]);
    }
    // The first eight bytes as a number, so that most comparisons of a sort
    // never leave the array being sorted.
    quint64 prefix(qint64 i) const
    {
        const std::string_view key = at(i);
        unsigned char first[8] = {};
        std::memcpy(first, key.data(), std::min<std::size_t>(key.size(), 8));
        return qFromBigEndian<quint64>(first);
    }
    int compare(qint64 a, qint64 b) const { return at(a).compare(at(b)); }
};

// UTF-16 texts compared by their code units: numbers by their digits.
struct UnitKeys
{
    const std::vector<char16_t> &units;
    const std::vector<quint32> &starts;

    std::u16string_view at(qint64 i) const
    {
        return std::u16string_view(units.data() + starts[i], starts[i + 1] - starts[i]);
    }
    quint64 prefix(qint64 i) const
    {
        const std::u16string_view key = at(i);
        quint64 value = 0;
        for (std::size_t unit = 0; unit < 4; ++unit)
            value = value << 16 | (unit < key.size() ? key[unit] : 0);
        return value;
    }
    int compare(qint64 a, qint64 b) const { return at(a).compare(at(b)); }
};

// Empty first, then numbers by value, then any other text that another
// program stored, by its code units.
void appendRowNumberKey(const QString &text, ByteKeys &keys)
{
    bool number = false;
    const double value = text.toDouble(&number);
    if (text.isEmpty()) {
        keys.bytes += '\0';
    } else if (number) {
        // The bits of a double ordered as its values: negatives reversed.
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        bits = (bits & (quint64(1) << 63)) ? ~bits : bits | (quint64(1) << 63);
        unsigned char encoded[8];
        qToBigEndian(bits, encoded);
        keys.bytes += '\1';
        keys.bytes.append(reinterpret_cast<const char *>(encoded), sizeof encoded);
    } else {
        keys.bytes += '\2';
        for (const QChar c : text) {
            keys.bytes += char(c.unicode() >> 8);
            keys.bytes += char(c.unicode() & 0xFF);
        }
    }
    keys.close();
}

template <typename Keys>
void sortInto(const Keys &keys, qint64 count, std::vector<quint32> &positions,
              std::vector<bool> &tied)
{
    struct Item
    {
        quint64 prefix;
        quint32 position;
    };
    std::vector<Item> items(static_cast<std::size_t>(count));
    for (qint64 i = 0; i < count; ++i)
        items[i] = {keys.prefix(i), quint32(i)};
    std::sort(items.begin(), items.end(), [&](const Item &a, const Item &b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const int compared = keys.compare(a.position, b.position);
        return compared != 0 ? compared < 0 : a.position < b.position;
    });
    positions.resize(std::size_t(count));
    tied.assign(std::size_t(count), false);
    for (qint64 rank = 0; rank < count; ++rank) {
        positions[rank] = items[rank].position;
        if (rank > 0 && items[rank].prefix == items[rank - 1].prefix)
            tied[rank] = keys.compare(items[rank].position, items[rank - 1].position) == 0;
    }
}

template <typename T>
Result<T> failed(const StoreError &error)
{
    Result<T> result;
    result.error = error;
    return result;
}

} // namespace

void ContactListIndex::Texts::append(const QString &text)
{
    units.insert(units.end(), text.utf16(), text.utf16() + text.size());
    starts.push_back(quint32(units.size()));
}

QStringView ContactListIndex::Texts::at(qint64 position) const
{
    return QStringView(units.data() + starts[position], starts[position + 1] - starts[position]);
}

Result<std::shared_ptr<const ContactListIndex>>
ContactListIndex::build(qint64 count, const ReadRows &read, const std::atomic<bool> &stop)
{
    using Built = std::shared_ptr<const ContactListIndex>;
    std::shared_ptr<ContactListIndex> index(new ContactListIndex);
    index->m_count = count;
    PersianCollation collation;
    ByteKeys names;
    ByteKeys notes;
    ByteKeys rowNumbers;
    for (qint64 first = 0; first < count; first += chunkRows) {
        if (stop)
            return {};
        const int wanted = int(std::min<qint64>(chunkRows, count - first));
        Result<ContactListRows> rows = read(first, wanted);
        if (!rows.ok())
            return failed<Built>(rows.error);
        // A position the snapshot cannot read is an empty row there too.
        rows.value.resize(wanted);
        for (const ContactListRow &row : std::as_const(rows.value)) {
            index->m_foldedNames.append(foldedName(row.name));
            index->m_numberDigits.append(storedNumberDigits(row.phone));
            collation.appendKey(row.name, names.bytes);
            names.close();
            collation.appendKey(row.note, notes.bytes);
            notes.close();
            appendRowNumberKey(row.rowNumber, rowNumbers);
        }
        if (first == 0) {
            // Room for all at the first chunk's sizes, rather than doubling
            // past them.
            const double scale = double(count) / wanted * 1.1;
            for (Texts *texts : {&index->m_foldedNames, &index->m_numberDigits}) {
                texts->units.reserve(std::size_t(texts->units.size() * scale));
                texts->starts.reserve(std::size_t(count + 1));
            }
            for (ByteKeys *keys : {&names, &notes, &rowNumbers}) {
                keys->bytes.reserve(std::size_t(keys->bytes.size() * scale));
                keys->starts.reserve(std::size_t(count + 1));
            }
        }
    }

    const auto sortColumn = [&](ListColumn column, const auto &keys) {
        Order &order = index->m_orders[int(column)];
        sortInto(keys, count, order.positions, order.tied);
    };
    sortColumn(ListColumn::Name, names);
    names = {};
    if (stop)
        return {};
    sortColumn(ListColumn::Note, notes);
    notes = {};
    if (stop)
        return {};
    sortColumn(ListColumn::RowNumber, rowNumbers);
    rowNumbers = {};
    if (stop)
        return {};
    sortColumn(ListColumn::Phone,
               UnitKeys{index->m_numberDigits.units, index->m_numberDigits.starts});
    Result<Built> result;
    result.value = std::move(index);
    return result;
}

std::span<const quint32> ContactListIndex::order(ListColumn column) const
{
    return m_orders[int(column)].positions;
}

bool ContactListIndex::tiedWithPrevious(ListColumn column, qint64 rank) const
{
    return m_orders[int(column)].tied[rank];
}

bool ContactListIndex::matches(const PartQuery &query, qint64 position) const
{
    if (query.isEmpty())
        return false;
    const Texts &texts = query.isNumber() ? m_numberDigits : m_foldedNames;
    return texts.at(position).contains(query.key());
}

} // namespace dialvault
