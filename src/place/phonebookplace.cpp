#include "place/phonebookplace.h"

#include "place/placetexts.h"
#include "store/contactstore.h"
#include "store/databasecreation.h"
#include "store/durablefiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace dialvault {

namespace {

const QString portableMarker = QStringLiteral("portable");
const QString portableSettings = QStringLiteral("dialvault.ini");

QString absoluteFolder(const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

Status failure(FailureCause cause, const QString &description)
{
    return {{1, description, cause}};
}

} // namespace

QString PhoneBookPlace::databasePath() const
{
    return QDir(folder).filePath(ContactStore::fileName());
}

QString PhoneBookPlace::backupFolder() const
{
    return backupFolderBeside(databasePath());
}

QString PhoneBookPlace::settingsLocation() const
{
    if (!settingsFile.isEmpty())
        return settingsFile;
    // The same store the windows open for their settings.
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dialvault"))
        .fileName();
}

PlaceFacts placeFacts(const QString &optionFolder)
{
    PlaceFacts facts;
    facts.optionFolder = optionFolder;
    facts.environmentFolder = qEnvironmentVariable("DIALVAULT_DATA_DIR");
    facts.programFolder = QCoreApplication::applicationDirPath();
    // The local, not roaming, data folder: the same on Linux, and on Windows
    // a phone book of a million entries should not travel with the profile.
    facts.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    facts.emptyDatabase
        = QDir(facts.programFolder)
              .filePath(QStringLiteral(DIALVAULT_DATA_FROM_PROGRAM "/") + ContactStore::fileName());
    facts.canWriteIn = canWriteIn;
    return facts;
}

Result<PhoneBookPlace> decidePlace(const PlaceFacts &facts)
{
    Result<PhoneBookPlace> result;
    PhoneBookPlace &place = result.value;
    place.emptyDatabase = facts.emptyDatabase;

    const QString chosen
        = !facts.optionFolder.isEmpty() ? facts.optionFolder : facts.environmentFolder;
    if (!chosen.isEmpty()) {
        place.kind = PlaceKind::Chosen;
        place.folder = absoluteFolder(chosen);
        return result;
    }

    const QDir program(facts.programFolder);
    if (QFileInfo::exists(program.filePath(ContactStore::fileName()))
        || QFileInfo::exists(program.filePath(portableMarker))) {
        const auto canWrite = facts.canWriteIn ? facts.canWriteIn : canWriteIn;
        if (!canWrite(facts.programFolder)) {
            result.error
                = failure(FailureCause::ReadOnly,
                          placetexts::portableFolderReadOnly().arg(
                              QDir::toNativeSeparators(absoluteFolder(facts.programFolder)),
                              QDir::toNativeSeparators(facts.userDataFolder)))
                      .error;
            return result;
        }
        place.kind = PlaceKind::Portable;
        place.folder = absoluteFolder(facts.programFolder);
        place.settingsFile = QDir(place.folder).filePath(portableSettings);
        return result;
    }

    place.kind = PlaceKind::Installed;
    place.folder = absoluteFolder(facts.userDataFolder);
    return result;
}

Status preparePlace(const PhoneBookPlace &place)
{
    // A folder chosen by name, or beside the program, holds the phone book
    // the person put there; only a first start in installed use is given one.
    if (place.kind != PlaceKind::Installed)
        return {};
    if (!QDir().mkpath(place.folder))
        return failure(FailureCause::CannotOpen,
                       QStringLiteral("cannot create the folder %1").arg(place.folder));
    const QString database = place.databasePath();
    if (QFileInfo::exists(database))
        return {};
    if (!QFileInfo::exists(place.emptyDatabase))
        return failure(FailureCause::CannotOpen,
                       QStringLiteral("no phone book in %1, and the installation's empty one "
                                      "(%2) is missing")
                           .arg(place.folder, place.emptyDatabase));

    // Copied under a temporary name and renamed, so a half-made copy never
    // takes the name db1.mdb.
    QTemporaryFile copy(database + QStringLiteral(".XXXXXX"));
    QFile source(place.emptyDatabase);
    if (!copy.open() || !source.open(QIODevice::ReadOnly))
        return failure(FailureCause::CannotOpen,
                       QStringLiteral("cannot copy %1 to %2").arg(place.emptyDatabase, database));
    if (copy.write(source.readAll()) != source.size() || !copy.flush())
        return failure(
            FailureCause::DiskFull,
            QStringLiteral("cannot write %1: %2").arg(copy.fileName(), copy.errorString()));
    copy.close();
    // The installed file belongs to the system; the copy is the user's own.
    copy.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::ReadOther);
    // Whole on the disk before it has the name; the rename never replaces: a
    // phone book made meanwhile by another copy wins.
    const Status flushed = syncFile(copy.fileName());
    if (!flushed.ok())
        return flushed;
    if (renameWithoutReplacing(copy.fileName(), database).ok()) {
        copy.setAutoRemove(false);
        return syncFolder(place.folder);
    }
    if (QFileInfo::exists(database))
        return {};
    return failure(FailureCause::CannotOpen,
                   QStringLiteral("cannot rename %1 to %2").arg(copy.fileName(), database));
}

QString backupFolderBeside(const QString &database)
{
    return QFileInfo(database).dir().filePath(QStringLiteral("backups"));
}

Result<bool> makePhoneBookInEmptyFolder(const PhoneBookPlace &place)
{
    Result<bool> result;
    if (place.kind != PlaceKind::Chosen)
        return result;
    const QFileInfo folder(place.folder);
    if (folder.exists()) {
        const QDir::Filters everything
            = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
        if (!folder.isDir() || !QDir(place.folder).isEmpty(everything))
            return result;
    } else if (!QDir().mkpath(place.folder)) {
        result.error = failure(FailureCause::CannotOpen,
                               QStringLiteral("cannot create the folder %1").arg(place.folder))
                           .error;
        return result;
    }
    return createDatabaseIfMissing(place.databasePath());
}

bool canWriteIn(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".dialvault-probe-XXXXXX")));
    return probe.open(); // removed again when it goes out of scope
}

} // namespace dialvault
