#include "store/contactentry.h"

#include <QHash>

#include <algorithm>

namespace dialvault {

namespace {

// Spreads the bits of a hash, so that the sum of many stays sensitive to
// each (splitmix64's finaliser).
quint64 mixed(quint64 x)
{
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    x ^= x >> 31;
    return x;
}

} // namespace

quint64 entryDigest(const EntryTexts &texts)
{
    // Chained, so that a character moved from one text to the next counts.
    const size_t name = qHash(texts.name, size_t(0x4e));
    const size_t phone = qHash(texts.phone, name);
    const size_t note = qHash(texts.note, phone ^ 0x5f);
    return mixed(quint64(note));
}

StoredKeys &StoredKeys::operator+=(const StoredKeys &other)
{
    digest += other.digest;
    ranges += other.ranges;
    std::sort(ranges.begin(), ranges.end(),
              [](const KeyRange &a, const KeyRange &b) { return a.first < b.first; });
    // Neighbouring ranges become one.
    QList<KeyRange> joined;
    for (const KeyRange &range : std::as_const(ranges)) {
        if (!joined.isEmpty() && joined.last().last + 1 == range.first)
            joined.last().last = range.last;
        else
            joined.append(range);
    }
    ranges = joined;
    return *this;
}

} // namespace dialvault
