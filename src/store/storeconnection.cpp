#include "store/storeconnection.h"

#include "store/storefailure.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QUrl>

namespace dialvault {

namespace {

// mode=rw is what keeps SQLite from creating the file; in a URI every byte
// that is not plain ASCII (Persian folder names, '?', '#', '%') is escaped.
QString existingFileUri(const QString &path)
{
    const QByteArray encoded = QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/");
    return QStringLiteral("file:%1?mode=rw").arg(QString::fromLatin1(encoded));
}

} // namespace

Status openExistingFile(QSqlDatabase &db, const QString &path)
{
    db.setDatabaseName(existingFileUri(path));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (db.open())
        return {};
    return engineFailure(db.lastError());
}

} // namespace dialvault
