#include "place/backups.h"

#include "store/durablefiles.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <map>

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

} // namespace

bool madeOn(const QString &folder, QDate day)
{
    const QString prefix = QStringLiteral("db1-") + dayText(day);
    const QStringList names
        = QDir(folder).entryList({prefix + QStringLiteral("*.mdb")}, QDir::Files);
    for (const QString &name : names) {
        const QRegularExpressionMatch match = backupName().match(name);
        if (match.hasMatch() && match.captured(1) == dayText(day))
            return true;
    }
    return false;
}

Result<QString> make(const QString &database, const QString &folder, const QDateTime &now,
                     const CopyPacing &pacing)
{
    Result<QString> result;
    if (!QDir().mkpath(folder)) {
        result.error = {1, QStringLiteral("cannot create the folder %1").arg(folder),
                        FailureCause::ReadOnly};
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

void prune(const QString &folder, const QString &spare)
{
    const QDir dir(folder);
    std::map<QString, QStringList, std::greater<>> byDay;
    const QDateTime anHourAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo &file : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        const QString name = file.fileName();
        if (name.startsWith(partialPrefix)) {
            // Another copy of the program may be writing this one right now.
            if (file.lastModified() < anHourAgo)
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
            if (QFileInfo(path) != QFileInfo(spare))
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
