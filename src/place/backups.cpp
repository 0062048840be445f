#include "place/backups.h"

#include "store/databasecheck.h"
#include "store/durablefiles.h"
#include "store/schemacheck.h"
#include "store/sqliteconnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <map>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace dialvault {

namespace backups {

namespace {

const QString partialPrefix = QStringLiteral(".partial-");

// db1-YYYY-MM-DD.mdb, db1-YYYY-MM-DD-HHMMSS.mdb, db1-YYYY-MM-DD-HHMMSS-N.mdb
const QRegularExpression &backupName()
{
    static const QRegularExpression name(
        QStringLiteral(R"(^db1-(\d{4}-\d{2}-\d{2})(-\d{6}(-\d+)?)?\.mdb$)"));
    return name;
}

QString dayText(QDate day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

// Names a backup made at `now` may take, in order of preference.
QString candidateName(const QDateTime &now, int attempt)
{
    QString name = QStringLiteral("db1-") + dayText(now.date());
    if (attempt > 0)
        name += now.toString(QStringLiteral("-HHmmss"));
    if (attempt > 1)
        name += QStringLiteral("-%1").arg(attempt);
    return name + QStringLiteral(".mdb");
}

bool ownedByUser(const QFileInfo &info)
{
#ifdef Q_OS_UNIX
    return info.ownerId() == ::getuid();
#else
    // No owner the program could compare with.
    Q_UNUSED(info);
    return true;
#endif
}

// Files the program may have written: regular, the user's own, and not
// reached through a symbolic link.
QFileInfoList plainFiles(const QString &folder)
{
    QFileInfoList files;
    for (const QFileInfo &file :
         QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (!file.isSymLink() && file.isFile() && ownedByUser(file))
            files.append(file);
    }
    return files;
}

Status unsafe(const QString &folder, const QString &why)
{
    return {{1,
             QStringLiteral("the backups folder %1 %2: nothing is written into it or removed "
                            "from it")
                 .arg(QDir::toNativeSeparators(folder), why),
             FailureCause::UnsafeFolder}};
}

// Makes `folder` when missing; then it must be fit for backups.
Status prepareFolder(const QString &folder)
{
    if (Status fit = checkFolder(folder); !fit.ok())
        return fit;
    if (!QDir().mkpath(folder))
        return {
            {1, QStringLiteral("cannot create the folder %1").arg(folder), FailureCause::ReadOnly}};
    // Another program may have put something in its place meanwhile.
    return checkFolder(folder);
}

Status checkOurs(const QString &path, SqliteUse use)
{
    SqliteConnection connection;
    Status status = connection.open(path, use);
    return status.ok() ? checkSchema(connection.database()) : status;
}

// What an interrupted copy leaves: nothing yet, or the start of a SQLite file.
bool isPartialCopy(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(16);
    return start.isEmpty() || start == QByteArray("SQLite format 3", 16);
}

} // namespace

Status checkFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isSymLink())
        return unsafe(folder, QStringLiteral("is a symbolic link"));
    // A file in the way is said when the folder cannot be made.
    if (!info.isDir())
        return {};
    if (!ownedByUser(info))
        return unsafe(folder, QStringLiteral("belongs to another user"));
    return {};
}

bool madeOn(const QString &folder, QDate day)
{
    if (!checkFolder(folder).ok())
        return false;
    for (const QFileInfo &file : plainFiles(folder)) {
        const QRegularExpressionMatch match = backupName().match(file.fileName());
        if (match.hasMatch() && match.captured(1) == dayText(day))
            return true;
    }
    return false;
}

Result<QString> make(const QString &database, const QString &folder, const QDateTime &now,
                     const CopyPacing &pacing)
{
    Result<QString> result;
    // Only a phone book the program would open is copied, and never more
    // pages than the file holds or room the disk has.
    Status status = prepareFolder(folder);
    if (status.ok())
        status = checkPageCount(database);
    if (status.ok())
        status = checkRoom(database, folder);
    if (status.ok())
        status = checkOurs(database, SqliteUse::Reading);
    if (!status.ok()) {
        result.error = status.error;
        return result;
    }
    // Copied under a name that is no backup's, so that an interrupted copy
    // never passes for one.
    QTemporaryFile partial(QDir(folder).filePath(partialPrefix + QStringLiteral("XXXXXX")));
    if (!partial.open()) {
        result.error
            = {1, QStringLiteral("cannot write in %1: %2").arg(folder, partial.errorString()),
               FailureCause::ReadOnly};
        return result;
    }
    partial.close();
    const Status copied = copyDatabase(database, partial.fileName(), pacing);
    if (!copied.ok()) {
        result.error = copied.error;
        return result;
    }
    // The rename never replaces: a name taken meanwhile moves on to the next.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = QDir(folder).filePath(candidateName(now, attempt));
        if (QFileInfo::exists(path))
            continue;
        const Status renamed = renameWithoutReplacing(partial.fileName(), path);
        if (renamed.error.number == FileExists)
            continue;
        if (!renamed.ok()) {
            result.error = renamed.error;
            return result;
        }
        partial.setAutoRemove(false);
        // The new name is on the disk before any old backup leaves it.
        const Status named = syncFolder(folder);
        if (!named.ok()) {
            result.error = named.error;
            return result;
        }
        result.value = path;
        prune(folder, path);
        return result;
    }
    result.error
        = {1, QStringLiteral("cannot name the backup in %1").arg(folder), FailureCause::Other};
    return result;
}

Result<QString> keepBytes(const QString &file, const QString &folder, const QDateTime &now)
{
    Result<QString> result;
    Status status = prepareFolder(folder);
    if (status.ok())
        status = checkRoom(file, folder);
    if (!status.ok()) {
        result.error = status.error;
        return result;
    }
    // copy() never replaces: a name taken meanwhile moves on to the next.
    for (int attempt = 1; attempt < 100; ++attempt) {
        const QString path = QDir(folder).filePath(candidateName(now, attempt));
        if (QFileInfo::exists(path))
            continue;
        if (QFile::copy(file, path)) {
            // On the disk, name and all, before the phone book it keeps is
            // replaced.
            status = syncFile(path);
            if (status.ok())
                status = syncFolder(folder);
            if (status.ok())
                result.value = path;
            else
                result.error = status.error;
            return result;
        }
    }
    result.error
        = {1, QStringLiteral("cannot copy %1 into %2").arg(file, folder), FailureCause::Other};
    return result;
}

void prune(const QString &folder, const QString &spare)
{
    if (!QFileInfo(folder).isDir() || !checkFolder(folder).ok())
        return;
    std::map<QString, QStringList, std::greater<>> byDay;
    const QDateTime anHourAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo &file : plainFiles(folder)) {
        const QString name = file.fileName();
        if (name.startsWith(partialPrefix)) {
            // Another copy of the program may be writing this one right now.
            if (file.lastModified() < anHourAgo && isPartialCopy(file.filePath()))
                QFile::remove(file.filePath());
            continue;
        }
        const QRegularExpressionMatch match = backupName().match(name);
        if (match.hasMatch())
            byDay[match.captured(1)].append(file.filePath());
    }
    int day = 0;
    for (const auto &[date, paths] : byDay) {
        if (++day <= keptDays)
            continue;
        for (const QString &path : paths) {
            if (QFileInfo(path) != QFileInfo(spare) && checkOurs(path, SqliteUse::Inspecting).ok())
                QFile::remove(path);
        }
    }
}

} // namespace backups

Result<QString> makeDailyBackup(const PhoneBookPlace &place, const QDateTime &now,
                                const CopyPacing &pacing)
{
    if (backups::madeOn(place.backupFolder(), now.date()))
        return {};
    return backups::make(place.databasePath(), place.backupFolder(), now, pacing);
}

} // namespace dialvault
