#pragma once

#include "store/storeerror.h"

#include <QFileDevice>
#include <QString>

#include <functional>

namespace dialvault {

// The numbers of the failures below.
enum FileFailureNumber : int {
    FileUnavailable = 3051, // a file could not be opened, read or written
    FileExists = 3204, // a new file's name is taken: it is never replaced
};

// The steps by which a file and its name reach the disk. A power cut keeps
// only what was flushed, and in the order it was, which a killed program
// cannot show (the page cache outlives it): tests watch the order here.
enum class DurableStep {
    FileSynced, // `path` is the file
    FolderSynced, // `path` is the folder
    Renamed, // `path` is the old name, `newPath` the new one
    Linked, // the file `path` has the second name `newPath`
};
using DurableStepWatcher
    = std::function<void(DurableStep step, const QString &path, const QString &newPath)>;

// Every step the helpers below take from now on, in any thread, is told to
// `watcher` once it has succeeded; an empty watcher ends the watching.
void watchDurableSteps(DurableStepWatcher watcher);

// A failed system call on `path`, from errno; `what` names the step.
Status fileFailure(int errorNumber, const QString &what, const QString &path);

// The failure a QFile or QSaveFile reports, with its cause: a file that
// cannot be opened, a disk that is full, or another.
FailureCause fileErrorCause(QFileDevice::FileError error);
Status fileDeviceFailure(const QFileDevice &file);

// Flushes the file's contents to the disk.
Status syncFile(const QString &path);

// Flushes the folder's entries (names made, renamed or removed) to the disk.
Status syncFolder(const QString &folder);

// The refusal to put a new file where `path` already is.
Status alreadyExists(const QString &path);

// Gives the file `from` the name `to` in one step, failing (FileExists)
// instead of replacing a file that already has that name.
Status renameWithoutReplacing(const QString &from, const QString &to);

// Gives the file `from` the name `to` in one step, replacing what was there.
Status renameReplacing(const QString &from, const QString &to);

// Creates a new, empty file named `stem` followed by a unique suffix, with
// the permission bits `mode`; returns its path.
Result<QString> createUniqueFile(const QString &stem, unsigned mode);

// Makes `to` a second name of the file `from` (or, where the file system has
// no such names, a flushed byte-for-byte copy), never replacing a file
// called `to`.
Status linkOrCopy(const QString &from, const QString &to);

// Whether the two files hold the same bytes.
bool sameContents(const QString &a, const QString &b);

} // namespace dialvault
