#include "store/contactlistindex.h"

#include "store/persiancollation.h"
#include "store/searchkeys.h"

#include <QtEndian>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cstring>
#include <future>

namespace dialvault {

namespace {

// A few milliseconds of reading, so that the pages the window asks for
// meanwhile hardly wait.
constexpr int chunkRows = 4096;
// Often enough that a newer request takes over within a millisecond or two.
constexpr qint64 stopCheckEvery = 16384;

// The value of plain digits, as nearly every row number is, without the
// cost of a general conversion; anything else as QString::toDouble() reads it.
std::optional<double> rowNumberValue(QStringView text)
{
    // Fifteen digits or fewer are exact in a double.
    if (!text.isEmpty() && text.size() <= 15) {
        qint64 whole = 0;
        bool digits = true;
        for (const QChar c : text) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            whole = whole * 10 + (c.unicode() - u'0');
        }
        if (digits)
            return double(whole);
    }
    bool number = false;
    const double value = text.toDouble(&number);
    return number ? std::optional(value) : std::nullopt;
}

// Empty first, then numbers by value, then any other text that another
// program stored, by its code units.
void appendRowNumberKey(QStringView text, ByteKeys &keys)
{
    const std::optional<double> value = rowNumberValue(text);
    if (text.isEmpty()) {
        keys.bytes += '\0';
    } else if (value) {
        // The bits of a double ordered as its values: negatives reversed.
        quint64 bits = 0;
        std::memcpy(&bits, &*value, sizeof bits);
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

// Hands the pages of freed blocks back to the system. The allocator keeps
// blocks of a few megabytes once one of their size was freed, and a sort
// frees tens of them; without this the list would stay that much larger
// for as long as it is open.
void releaseFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

template <typename T>
Result<T> failed(const StoreError &error)
{
    Result<T> result;
    result.error = error;
    return result;
}

} // namespace

void ContactListIndex::Texts::append(QStringView text)
{
    units.insert(units.end(), text.utf16(), text.utf16() + text.size());
    starts.push_back(quint32(units.size()));
}

QStringView ContactListIndex::Texts::at(qint64 position) const
{
    return QStringView(units.data() + starts[position], starts[position + 1] - starts[position]);
}

Result<std::shared_ptr<ContactListIndex>>
ContactListIndex::build(qint64 count, const ReadRows &read, const std::atomic<bool> &stop)
{
    using Built = std::shared_ptr<ContactListIndex>;
    std::shared_ptr<ContactListIndex> index(new ContactListIndex);
    index->m_count = count;
    PersianCollation collation;
    const auto wantedFrom
        = [&](qint64 first) { return int(std::min<qint64>(chunkRows, count - first)); };
    // The snapshot's thread reads the next rows while this one takes in
    // those read: the two cores share the work.
    std::future<Result<ContactListRows>> next;
    if (count > 0)
        next = std::async(std::launch::async, read, 0, wantedFrom(0));
    for (qint64 first = 0; first < count; first += chunkRows) {
        Result<ContactListRows> rows = next.get();
        if (stop)
            return {};
        if (!rows.ok())
            return failed<Built>(rows.error);
        const int wanted = wantedFrom(first);
        if (first + wanted < count)
            next = std::async(std::launch::async, read, first + wanted, wantedFrom(first + wanted));
        // A position the snapshot cannot read is an empty row there too.
        rows.value.resize(wanted);
        for (const ContactListRow &row : std::as_const(rows.value)) {
            index->m_foldedNames.append(foldedName(row.name));
            index->m_numberDigits.append(storedNumberDigits(row.phone));
            collation.appendKey(row.name, index->m_nameKeys.bytes);
            index->m_nameKeys.close();
            index->m_notes.append(row.note);
            appendRowNumberKey(row.rowNumber, index->m_rowNumberKeys);
        }
        if (first == 0) {
            // Room for all at the first chunk's sizes, rather than doubling
            // past them.
            const double scale = double(count) / wanted * 1.1;
            for (Texts *texts : {&index->m_foldedNames, &index->m_numberDigits, &index->m_notes}) {
                texts->units.reserve(std::size_t(texts->units.size() * scale));
                texts->starts.reserve(std::size_t(count + 1));
            }
            for (ByteKeys *keys : {&index->m_nameKeys, &index->m_rowNumberKeys}) {
                keys->bytes.reserve(std::size_t(keys->bytes.size() * scale));
                keys->starts.reserve(std::size_t(count + 1));
            }
        }
    }
    Result<Built> result;
    result.value = std::move(index);
    return result;
}

std::shared_ptr<const ColumnOrder> ContactListIndex::order(ListColumn column,
                                                           const std::atomic<bool> &stop)
{
    Ordering &ordering = m_orders[int(column)];
    {
        std::unique_lock lock(ordering.mutex);
        ordering.finished.wait(lock, [&] { return !ordering.working; });
        if (ordering.order)
            return ordering.order;
        ordering.working = true;
    }
    std::shared_ptr<const ColumnOrder> order = workOut(column, stop);
    {
        std::lock_guard lock(ordering.mutex);
        ordering.working = false;
        ordering.order = order;
    }
    ordering.finished.notify_all();
    return order;
}

std::shared_ptr<const ColumnOrder> ContactListIndex::workOut(ListColumn column,
                                                             const std::atomic<bool> &stop)
{
    // One sort at a time: each holds the positions twice over for a while,
    // tens of megabytes at a million entries.
    const auto sorted = [&](const auto &...keys) {
        std::lock_guard lock(m_sorting);
        std::shared_ptr<const ColumnOrder> order = orderOf(keys..., stop);
        releaseFreedMemory();
        return order;
    };
    std::shared_ptr<const ColumnOrder> kept;
    switch (column) {
    case ListColumn::Name:
        kept = sorted(m_nameKeys);
        if (kept)
            m_nameKeys = {};
        break;
    case ListColumn::Phone:
        kept = sorted(m_numberDigits.units, m_numberDigits.starts);
        break;
    case ListColumn::Note: {
        // Made a part at a time, and kept when stopped: the next call goes on.
        PersianCollation collation;
        for (qint64 position = m_noteKeys.count(); position < m_count; ++position) {
            if (position % stopCheckEvery == 0 && stop)
                return nullptr;
            collation.appendKey(m_notes.at(position), m_noteKeys.bytes);
            m_noteKeys.close();
            if (position + 1 == chunkRows) {
                // Room for all at the first keys' sizes, rather than doubling
                // past them.
                const double scale = double(m_count) / chunkRows * 1.1;
                m_noteKeys.bytes.reserve(std::size_t(m_noteKeys.bytes.size() * scale));
                m_noteKeys.starts.reserve(std::size_t(m_count + 1));
            }
        }
        // The texts are done with once their keys are made.
        m_notes = {};
        kept = sorted(m_noteKeys);
        if (kept)
            m_noteKeys = {};
        break;
    }
    case ListColumn::RowNumber:
        kept = sorted(m_rowNumberKeys);
        if (kept)
            m_rowNumberKeys = {};
        break;
    }
    // The keys just let go.
    releaseFreedMemory();
    return kept;
}

std::optional<ListColumn> ContactListIndex::unstarted() const
{
    for (const ListColumn column :
         {ListColumn::Name, ListColumn::Phone, ListColumn::RowNumber, ListColumn::Note}) {
        const Ordering &ordering = m_orders[int(column)];
        std::lock_guard lock(ordering.mutex);
        if (!ordering.working && !ordering.order)
            return column;
    }
    return std::nullopt;
}

bool ContactListIndex::matches(const PartQuery &query, qint64 position) const
{
    if (query.isEmpty())
        return false;
    const Texts &texts = query.isNumber() ? m_numberDigits : m_foldedNames;
    return texts.at(position).contains(query.key());
}

} // namespace dialvault
