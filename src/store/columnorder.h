#pragma once

#include <QtGlobal>

#include <atomic>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace dialvault {

// The entries' positions ascending by one column; entries of equal value in
// stored order.
struct ColumnOrder
{
    std::vector<quint32> positions;
    // Whether the entry at a rank has the same value as the one before it.
    std::vector<bool> tied;
};

// Keys compared as bytes, one after another in one block: a million small
// strings would cost more in their own allocations than in their bytes.
struct ByteKeys
{
    std::string bytes;
    std::vector<quint32> starts{0};

    // Ends the key being appended to `bytes`.
    void close() { starts.push_back(quint32(bytes.size())); }
    qint64 count() const { return qint64(starts.size()) - 1; }
};

// The order of the keys as bytes (a key that is a prefix of another first).
// Null once `stop` is set.
std::shared_ptr<const ColumnOrder> orderOf(const ByteKeys &keys, const std::atomic<bool> &stop);
// The order of UTF-16 texts by their code units: key i runs from units
// starts[i] to starts[i + 1].
std::shared_ptr<const ColumnOrder> orderOf(std::span<const char16_t> units,
                                           std::span<const quint32> starts,
                                           const std::atomic<bool> &stop);

} // namespace dialvault
