#include "store/databasecheck.h"

#include "store/schemacheck.h"
#include "store/sqliteconnection.h"
#include "store/storefailure.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace dialvault {

namespace {

// SQLite's numbers for a damaged file and for one that is no database.
constexpr int sqliteCorrupt = 11;
constexpr int sqliteNotADatabase = 26;

// The parts of a SQLite file's first 100 bytes that say how long it is.
constexpr char magic[] = "SQLite format 3";
constexpr int headerSize = 100;
constexpr int pageSizeAt = 16;
constexpr int changeCounterAt = 24;
constexpr int pageCountAt = 28;
constexpr int validForAt = 92;

// A file far longer than the disk space it takes is sparse.
constexpr quint64 sparseRatio = 16;
constexpr quint64 sparseExcess = quint64(64) << 20;

quint32 bigEndian32(const QByteArray &header, int at)
{
    return qFromBigEndian<quint32>(header.constData() + at);
}

// The disk space the open `file` takes; its length where that is not known.
quint64 allocatedBytes(QFile &file)
{
#ifdef Q_OS_UNIX
    struct stat info = {};
    if (::fstat(file.handle(), &info) == 0)
        return quint64(info.st_blocks) * 512;
#endif
    return quint64(file.size());
}

Status damaged(const QString &description)
{
    return {{sqliteCorrupt, description, FailureCause::Damaged}};
}

} // namespace

Status checkPageCount(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    // A device or a pipe would be read without end, or wait for a writer.
    if (!info.isFile())
        return {{sqliteNotADatabase, QStringLiteral("%1 is not a regular file").arg(path),
                 FailureCause::NotADatabase}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray header = file.read(headerSize);
    if (header.size() < headerSize || !header.startsWith(QByteArray(magic, sizeof magic)))
        return {};
    const quint16 sizeField = qFromBigEndian<quint16>(header.constData() + pageSizeAt);
    const quint64 pageSize = sizeField == 1 ? 65536 : sizeField;
    const quint32 pages = bigEndian32(header, pageCountAt);
    const quint64 size = quint64(file.size());
    // SQLite believes the count only when the file was last written by a
    // version that keeps it, which the two counters tell; otherwise it goes
    // by the file's size.
    const bool counted
        = pages != 0 && bigEndian32(header, validForAt) == bigEndian32(header, changeCounterAt);
    const quint64 claimed = counted ? quint64(pages) * pageSize : size;
    if (claimed > size)
        return damaged(QStringLiteral("the file says it holds %1 bytes, but it has %2")
                           .arg(claimed)
                           .arg(size));
    // A sparse file holds its length without the disk space: gigabytes of
    // nothing, which a copy would write out in full. Compressing file
    // systems keep far less than the length too, but not this much less.
    const quint64 allocated = allocatedBytes(file);
    if (claimed > sparseRatio * allocated && claimed - allocated > sparseExcess)
        return damaged(
            QStringLiteral("the file says it holds %1 bytes, but only %2 are on the disk")
                .arg(claimed)
                .arg(allocated));
    return {};
}

Status checkPhoneBook(const QString &path)
{
    if (Status sized = checkPageCount(path); !sized.ok())
        return sized;
    SqliteConnection connection;
    if (Status opened = connection.open(path, SqliteUse::Inspecting); !opened.ok())
        return opened;
    // The schema first: checking the integrity computes every index's
    // expression, and a foreign index's may be made to cost seconds a row.
    if (Status ours = checkSchema(connection.database()); !ours.ok())
        return ours;
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")) || !query.next())
        return sqliteFailure(query.lastError());
    const QString verdict = query.value(0).toString();
    if (verdict != QLatin1String("ok"))
        return {{sqliteCorrupt, verdict, FailureCause::Damaged}};
    return {};
}

} // namespace dialvault
