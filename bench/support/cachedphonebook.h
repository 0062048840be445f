#pragma once

#include <QString>

namespace dialvault::bench {

// Whether the phone book a benchmark built earlier at `path` can serve again:
// it is there, at the program's current schema, holding `entries` entries.
// Building a million entries takes minutes, so they are kept between runs.
bool isCachedPhoneBook(const QString &path, qint64 entries);

} // namespace dialvault::bench
