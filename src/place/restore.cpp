#include "place/restore.h"

#include "place/backups.h"
#include "place/databasecopy.h"
#include "store/databasecheck.h"
#include "store/databasecreation.h"
#include "store/durablefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace dialvault {

namespace {

// A current phone book that SQLite cannot read, or one the program refuses,
// is still kept, byte for byte: it may be all the person has.
Result<QString> keepCurrent(const PhoneBookPlace &place, const QDateTime &now)
{
    Result<QString> kept = backups::make(place.databasePath(), place.backupFolder(), now);
    if (kept.ok() || !QFileInfo::exists(place.databasePath()))
        return kept;
    return backups::keepBytes(place.databasePath(), place.backupFolder(), now);
}

// The file is read as it lies, with nothing written beside it: changes that
// a program left in its log or journal would be passed over, so such a file
// is refused.
Status checkNothingPending(const QString &file)
{
    for (const char *suffix : {"-wal", "-journal"}) {
        const QFileInfo beside(file + QLatin1String(suffix));
        if (beside.exists() && beside.size() > 0)
            return {{5,
                     QStringLiteral("%1 holds changes that another program has not yet written "
                                    "into %2")
                         .arg(beside.filePath(), file),
                     FailureCause::BusyOrLocked}};
    }
    return {};
}

} // namespace

Result<QString> restorePhoneBook(const PhoneBookPlace &place, const QString &file,
                                 const QDateTime &now)
{
    Result<QString> result;
    const QString database = place.databasePath();
    if (QFileInfo(file).canonicalFilePath() == QFileInfo(database).canonicalFilePath()
        && QFileInfo::exists(database)) {
        result.error
            = {1, QStringLiteral("%1 is the phone book itself").arg(file), FailureCause::Other};
        return result;
    }
    // A regular file only: a device or a pipe is not read at all.
    if (!QFileInfo(file).isFile()) {
        result.error = {14, QStringLiteral("no such file: %1").arg(file), FailureCause::CannotOpen};
        return result;
    }
    if (!QDir().mkpath(place.folder)) {
        result.error = {1, QStringLiteral("cannot create the folder %1").arg(place.folder),
                        FailureCause::ReadOnly};
        return result;
    }
    // Checked as it lies, then read once more into a phone book of our own:
    // nothing of the file but its entries' four fields is ever put in place.
    if (Status room = checkRoom(file, place.folder); !room.ok())
        return failedResult<QString>(room);
    if (Status whole = checkNothingPending(file); !whole.ok())
        return failedResult<QString>(whole);
    if (Status ours = checkPhoneBook(file); !ours.ok())
        return failedResult<QString>(ours);
    QTemporaryFile copy(database + QStringLiteral(".restoring-XXXXXX"));
    if (!copy.open()) {
        result.error
            = {1, QStringLiteral("cannot write in %1: %2").arg(place.folder, copy.errorString()),
               FailureCause::ReadOnly};
        return result;
    }
    copy.close();
    if (Status rebuilt = rebuildPhoneBook(copy.fileName(), file, SqliteUse::Inspecting);
        !rebuilt.ok())
        return failedResult<QString>(rebuilt);
    // Whole on the disk before it may take the phone book's name.
    if (Status synced = syncFile(copy.fileName()); !synced.ok())
        return failedResult<QString>(synced);

    if (QFileInfo::exists(database)) {
        const Result<QString> kept = keepCurrent(place, now);
        if (!kept.ok()) {
            result.error = kept.error;
            return result;
        }
        result.value = kept.value;
        // Written into the phone book as one transaction, so that the
        // windows of a running program go on with the restored entries
        // rather than with a file that is no longer there.
        const Status written = copyDatabaseInto(copy.fileName(), database);
        if (written.ok())
            return result;
        // Busy, full or read-only: the current phone book stays as it was.
        if (written.error.cause != FailureCause::NotADatabase
            && written.error.cause != FailureCause::Damaged) {
            result.error = written.error;
            return result;
        }
    }
    // No phone book, or one SQLite cannot read: the copy takes its name in
    // one step.
    copy.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::ReadOther);
    const Status swapped = renameReplacing(copy.fileName(), database);
    if (!swapped.ok()) {
        result.error = swapped.error;
        return result;
    }
    copy.setAutoRemove(false);
    const Status named = syncFolder(place.folder);
    if (!named.ok())
        result.error = named.error;
    return result;
}

} // namespace dialvault
