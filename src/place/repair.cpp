#include "place/repair.h"

#include "place/backups.h"
#include "place/databasecopy.h"
#include "store/databasecheck.h"
#include "store/databasecreation.h"
#include "store/durablefiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace dialvault {

namespace {

Result<QString> failed(const Status &status)
{
    Result<QString> result;
    result.error = status.error;
    return result;
}

Result<QString> failed(FailureCause cause, const QString &description)
{
    return failed(Status{{1, description, cause}});
}

} // namespace

Result<QString> repairPhoneBook(const QString &database, const QString &backupFolder,
                                const QDateTime &now)
{
    if (!QFileInfo(database).isFile())
        return failed(FailureCause::CannotOpen, QStringLiteral("no such file: %1").arg(database));
    const QString folder = QFileInfo(database).absolutePath();
    if (Status sized = checkPageCount(database); !sized.ok())
        return failed(sized);
    if (Status room = checkRoom(database, folder); !room.ok())
        return failed(room);

    QTemporaryFile fresh(database + QStringLiteral(".repairing-XXXXXX"));
    if (!fresh.open())
        return failed(FailureCause::ReadOnly,
                      QStringLiteral("cannot write in %1: %2").arg(folder, fresh.errorString()));
    fresh.close();
    // Read through a connection that may write, so that what a program that
    // crashed left half-written is rolled back rather than carried over.
    if (Status rebuilt = rebuildPhoneBook(fresh.fileName(), database, SqliteUse::Writing);
        !rebuilt.ok())
        return failed(rebuilt);
    // A journal left beside the file would be taken for the new one's.
    for (const char *suffix : {"-journal", "-wal"}) {
        if (QFileInfo::exists(database + QLatin1String(suffix)))
            return failed(FailureCause::BusyOrLocked,
                          QStringLiteral("another program is writing %1").arg(database));
    }

    const Result<QString> kept = backups::keepBytes(database, backupFolder, now);
    if (!kept.ok())
        return kept;
    fresh.setPermissions(QFile::permissions(database));
    // Whole on the disk before it takes the name, and the name on the disk
    // before we say so: a power cut leaves the old file or the new, whole.
    if (Status synced = syncFile(fresh.fileName()); !synced.ok())
        return failed(synced);
    if (Status swapped = renameReplacing(fresh.fileName(), database); !swapped.ok())
        return failed(swapped);
    fresh.setAutoRemove(false);
    if (Status named = syncFolder(folder); !named.ok())
        return failed(named);
    return kept;
}

} // namespace dialvault
