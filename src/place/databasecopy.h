#pragma once

#include "store/storeerror.h"

#include <QString>

#include <atomic>
#include <chrono>

namespace dialvault {

// How a copy shares the machine: pages copied per step, and a pause between
// steps in which other connections may lock the source. A change made by
// another connection between two steps starts the copy over, so the result is
// always the source as it was at one moment.
struct CopyPacing
{
    int pagesPerStep = -1; // -1: everything in one step
    std::chrono::milliseconds pause{0};
    const std::atomic<bool> *stop = nullptr; // set: give up at the next step
};

// Copies the SQLite database at `from` into a new file `to` (which nobody
// uses yet) with SQLite's online backup, on the connections that the store
// opens, flushed to the disk. On failure `to` is removed again.
Status copyDatabase(const QString &from, const QString &to, const CopyPacing &pacing = {});

// Whether the folder `folder` has room for a copy of the file at `file`: a
// file larger than the free space (a sparse one, say) is refused (DiskFull)
// before anything is copied.
Status checkRoom(const QString &file, const QString &folder);

// Replaces the contents of the existing database `to` with those of `from`
// in one transaction of `to`: connections that other programs hold open on
// `to` see the new contents at their next statement.
Status copyDatabaseInto(const QString &from, const QString &to);

} // namespace dialvault
