#include "store/databasecheck.h"

#include "store/schemacheck.h"
#include "store/sqliteconnection.h"
#include "store/storefailure.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtEndian>

namespace dialvault {

namespace {

// SQLite's number for a damaged file.
constexpr int sqliteCorrupt = 11;

// The parts of a SQLite file's first 100 bytes that say how long it is.
constexpr char magic[] = "SQLite format 3";
constexpr int headerSize = 100;
constexpr int pageSizeAt = 16;
constexpr int changeCounterAt = 24;
constexpr int pageCountAt = 28;
constexpr int validForAt = 92;

quint32 bigEndian32(const QByteArray &header, int at)
{
    return qFromBigEndian<quint32>(header.constData() + at);
}

} // namespace

Status checkPageCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray header = file.read(headerSize);
    if (header.size() < headerSize || !header.startsWith(QByteArray(magic, sizeof magic)))
        return {};
    const quint16 sizeField = qFromBigEndian<quint16>(header.constData() + pageSizeAt);
    const quint64 pageSize = sizeField == 1 ? 65536 : sizeField;
    const quint32 pages = bigEndian32(header, pageCountAt);
    // SQLite believes the count only when the file was last written by a
    // version that keeps it, which the two counters tell; otherwise it goes
    // by the file's size.
    if (pages == 0 || bigEndian32(header, validForAt) != bigEndian32(header, changeCounterAt))
        return {};
    const quint64 claimed = quint64(pages) * pageSize;
    if (claimed <= quint64(file.size()))
        return {};
    return {{sqliteCorrupt,
             QStringLiteral("the file says it holds %1 pages of %2 bytes (%3 bytes), but it has "
                            "%4 bytes")
                 .arg(pages)
                 .arg(pageSize)
                 .arg(claimed)
                 .arg(file.size()),
             FailureCause::Damaged}};
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
