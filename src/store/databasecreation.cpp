#include "store/databasecreation.h"

#include "store/storeconnection.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

namespace dialvault {

namespace {

Status buildSchema(const QString &path)
{
    const QString connection = QStringLiteral("dialvault-create-") + path;
    Status status;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        status = openExistingFile(db, path);
        if (status.ok()) {
            QSqlQuery query(db);
            if (!query.exec(StoreSchema::createTableStatement()))
                status = engineFailure(query.lastError());
        }
        if (status.ok())
            status = StoreSchema::completeSchema(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return status;
}

Result<bool> failure(const QString &description)
{
    Result<bool> result;
    result.error = {1, description};
    return result;
}

} // namespace

Result<bool> createDatabaseIfMissing(const QString &path)
{
    Result<bool> result;
    if (QFileInfo::exists(path))
        return result;

    // Built under a temporary name beside the target and then renamed, so a
    // failure halfway never leaves a broken db1.mdb behind.
    QTemporaryFile building(path + QStringLiteral(".XXXXXX"));
    if (!building.open())
        return failure(QStringLiteral("cannot create %1: %2")
                           .arg(building.fileTemplate(), building.errorString()));
    building.close();
    // A temporary file is private to its owner; the database is an ordinary file.
    building.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                            | QFileDevice::ReadGroup | QFileDevice::ReadOther);

    const Status built = buildSchema(building.fileName());
    if (!built.ok()) {
        result.error = built.error;
        return result;
    }
    // rename() refuses to replace a file: one made meanwhile by someone else wins.
    if (QFile::rename(building.fileName(), path)) {
        building.setAutoRemove(false);
        result.value = true;
        return result;
    }
    if (QFileInfo::exists(path))
        return result;
    return failure(QStringLiteral("cannot rename %1 to %2").arg(building.fileName(), path));
}

} // namespace dialvault
