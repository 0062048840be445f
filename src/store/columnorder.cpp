#include "store/columnorder.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <utility>

namespace dialvault {

namespace {

// Below this many entries comparisons cost less than the radix passes'
// fixed share.
constexpr qint64 radixFrom = 1024;
// Past this many levels a run of long, mostly equal keys is left to
// comparisons, so that the recursion stays shallow.
constexpr qint64 deepestLevel = 32;

// Twelve bytes rather than sixteen: a level holds them twice over, tens of
// megabytes at a million entries.
#pragma pack(push, 4)
struct Item
{
    quint64 prefix; // eight bytes of the key, from the level being sorted
    quint32 position;
};
#pragma pack(pop)
static_assert(sizeof(Item) == 12);

// Sorts by a most significant digit radix of eight bytes a level: each level
// orders the entries by the next eight bytes of their keys (two stable byte
// passes and more, skipping the bytes that every entry shares), then each run
// that is still equal goes on to the next level. Keys sharing long beginnings
// ("علی …", "0912 …") cost no comparison of those beginnings, and every step
// is stable, so equal keys stay in stored order without a comparison of
// positions.
template <typename Symbol>
class KeySorter
{
    static_assert(std::is_unsigned_v<Symbol>);
    static constexpr int perChunk = 8 / sizeof(Symbol);
    static constexpr int symbolBits = 8 * sizeof(Symbol);

public:
    KeySorter(const Symbol *symbols, const quint32 *starts, const std::atomic<bool> &stop)
        : m_symbols(symbols)
        , m_starts(starts)
        , m_stop(stop)
    { }

    std::shared_ptr<const ColumnOrder> sort(qint64 count)
    {
        m_items.resize(std::size_t(count));
        m_scratch.resize(std::size_t(count));
        for (qint64 i = 0; i < count; ++i)
            m_items[i] = {0, quint32(i)};
        auto order = std::make_shared<ColumnOrder>();
        m_tied = &order->tied;
        m_tied->assign(std::size_t(count), false);
        if (!sortRange(0, count, 0))
            return nullptr;
        m_scratch = {};
        order->positions.resize(std::size_t(count));
        for (qint64 rank = 0; rank < count; ++rank)
            order->positions[rank] = m_items[rank].position;
        return order;
    }

private:
    qint64 length(quint32 position) const { return m_starts[position + 1] - m_starts[position]; }

    // Symbols level * perChunk onwards, as a number; zero past the end.
    quint64 chunk(quint32 position, qint64 level) const
    {
        const qint64 begin = m_starts[position] + level * perChunk;
        const qint64 end = m_starts[position + 1];
        if constexpr (sizeof(Symbol) == 1) {
            if (end - begin >= 8)
                return qFromBigEndian<quint64>(m_symbols + begin);
        }
        quint64 value = 0;
        for (int k = 0; k < perChunk; ++k) {
            value <<= symbolBits;
            if (begin + k < end)
                value |= m_symbols[begin + k];
        }
        return value;
    }

    int compare(quint32 a, quint32 b) const
    {
        const qint64 lengthA = length(a);
        const qint64 lengthB = length(b);
        const Symbol *symbolsA = m_symbols + m_starts[a];
        const Symbol *symbolsB = m_symbols + m_starts[b];
        const std::size_t shared = std::size_t(std::min(lengthA, lengthB));
        int compared = 0;
        if constexpr (sizeof(Symbol) == 1) {
            compared = shared ? std::memcmp(symbolsA, symbolsB, shared) : 0;
        } else {
            const auto mismatch = std::mismatch(symbolsA, symbolsA + shared, symbolsB);
            if (mismatch.first != symbolsA + shared)
                compared = *mismatch.first < *mismatch.second ? -1 : 1;
        }
        if (compared != 0)
            return compared;
        return lengthA < lengthB ? -1 : lengthA > lengthB ? 1 : 0;
    }

    // Entries begin .. end - 1 share their first `level` chunks.
    bool sortRange(qint64 begin, qint64 end, qint64 level)
    {
        for (;;) {
            if (m_stop)
                return false;
            if (end - begin < 2)
                return true;
            if (end - begin < radixFrom || level >= deepestLevel) {
                compareSort(begin, end);
                return true;
            }
            for (qint64 i = begin; i < end; ++i)
                m_items[i].prefix = chunk(m_items[i].position, level);
            radixSort(begin, end);
            qint64 runEnd = runEndFrom(begin, end);
            if (runEnd == end) {
                // One run: the same range a level deeper, without recursion.
                if (allEnded(begin, end, level)) {
                    orderEnded(begin, end);
                    return true;
                }
                ++level;
                continue;
            }
            for (qint64 run = begin; run < end; run = runEnd) {
                runEnd = runEndFrom(run, end);
                if (runEnd - run < 2)
                    continue;
                if (allEnded(run, runEnd, level))
                    orderEnded(run, runEnd);
                else if (!sortRange(run, runEnd, level + 1))
                    return false;
            }
            return true;
        }
    }

    qint64 runEndFrom(qint64 run, qint64 end) const
    {
        qint64 runEnd = run + 1;
        while (runEnd < end && m_items[runEnd].prefix == m_items[run].prefix)
            ++runEnd;
        return runEnd;
    }

    bool allEnded(qint64 begin, qint64 end, qint64 level) const
    {
        const qint64 shown = (level + 1) * perChunk;
        for (qint64 i = begin; i < end; ++i) {
            if (length(m_items[i].position) > shown)
                return false;
        }
        return true;
    }

    // Keys whose symbols are all equal, short ones padded with zeros: the
    // shorter first, and those of one length tied.
    void orderEnded(qint64 begin, qint64 end)
    {
        const auto shorter
            = [&](const Item &a, const Item &b) { return length(a.position) < length(b.position); };
        if (!std::is_sorted(m_items.begin() + begin, m_items.begin() + end, shorter))
            std::stable_sort(m_items.begin() + begin, m_items.begin() + end, shorter);
        for (qint64 i = begin + 1; i < end; ++i)
            (*m_tied)[i] = length(m_items[i].position) == length(m_items[i - 1].position);
    }

    void compareSort(qint64 begin, qint64 end)
    {
        std::sort(m_items.begin() + begin, m_items.begin() + end,
                  [&](const Item &a, const Item &b) {
                      const int compared = compare(a.position, b.position);
                      return compared != 0 ? compared < 0 : a.position < b.position;
                  });
        for (qint64 i = begin + 1; i < end; ++i)
            (*m_tied)[i] = compare(m_items[i - 1].position, m_items[i].position) == 0;
    }

    // Stable by the prefixes, a byte a pass from the lowest; a byte that
    // every entry shares takes no pass.
    void radixSort(qint64 begin, qint64 end)
    {
        const qint64 count = end - begin;
        std::array<std::array<quint32, 256>, 8> counts{};
        Item *from = m_items.data() + begin;
        Item *to = m_scratch.data() + begin;
        for (qint64 i = 0; i < count; ++i) {
            const quint64 prefix = from[i].prefix;
            for (int byte = 0; byte < 8; ++byte)
                ++counts[byte][(prefix >> (8 * byte)) & 0xFF];
        }
        for (int byte = 0; byte < 8; ++byte) {
            std::array<quint32, 256> &slots = counts[byte];
            const int shift = 8 * byte;
            if (slots[(from[0].prefix >> shift) & 0xFF] == quint32(count))
                continue;
            quint32 next = 0;
            for (quint32 &slot : slots)
                next += std::exchange(slot, next);
            for (qint64 i = 0; i < count; ++i)
                to[slots[(from[i].prefix >> shift) & 0xFF]++] = from[i];
            std::swap(from, to);
        }
        if (from != m_items.data() + begin)
            std::copy(from, from + count, m_items.data() + begin);
    }

    const Symbol *m_symbols;
    const quint32 *m_starts;
    const std::atomic<bool> &m_stop;
    std::vector<Item> m_items;
    std::vector<Item> m_scratch;
    std::vector<bool> *m_tied = nullptr;
};

} // namespace

std::shared_ptr<const ColumnOrder> orderOf(const ByteKeys &keys, const std::atomic<bool> &stop)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(keys.bytes.data());
    return KeySorter<unsigned char>(bytes, keys.starts.data(), stop).sort(keys.count());
}

std::shared_ptr<const ColumnOrder> orderOf(std::span<const char16_t> units,
                                           std::span<const quint32> starts,
                                           const std::atomic<bool> &stop)
{
    const qint64 count = qint64(starts.size()) - 1;
    return KeySorter<char16_t>(units.data(), starts.data(), stop).sort(std::max<qint64>(count, 0));
}

} // namespace dialvault
