#include "store/sqliteconnection.h"

#include "store/storefailure.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace dialvault {

namespace {

std::atomic<quint64> connectionCounter{0};

// The mode is what keeps SQLite from creating a file that should exist; in a
// URI every byte that is not plain ASCII (Persian folder names, '?', '#',
// '%') is escaped.
QString fileUri(const QString &path, SqliteUse use)
{
    const QByteArray encoded = QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/");
    const char *mode = use == SqliteUse::Reading ? "ro" : use == SqliteUse::Writing ? "rw" : "rwc";
    return QStringLiteral("file:%1?mode=%2").arg(QString::fromLatin1(encoded), QLatin1String(mode));
}

Status noHandle()
{
    return {{1,
             QStringLiteral("no SQLite handle: the connection is closed, or Qt's driver is not "
                            "SQLite's"),
             FailureCause::Other}};
}

} // namespace

SqliteConnection::SqliteConnection()
    : m_name(QStringLiteral("dialvault-sqlite-%1").arg(++connectionCounter))
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
}

SqliteConnection::~SqliteConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

Status SqliteConnection::open(const QString &path, SqliteUse use)
{
    m_db.close();
    m_db.setDatabaseName(fileUri(path, use));
    QString options = QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
    if (use == SqliteUse::Reading)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    m_db.setConnectOptions(options);
    m_durable = false;
    if (!m_db.open())
        return sqliteFailure(m_db.lastError());
    Status status = handle() ? applySettings(use) : noHandle();
    if (!status.ok())
        m_db.close();
    return status;
}

void SqliteConnection::close()
{
    m_db.close();
}

sqlite3 *SqliteConnection::handle() const
{
    if (!m_db.isOpen())
        return nullptr;
    const QVariant handle = m_db.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

Status SqliteConnection::makeDurable()
{
    if (m_durable)
        return {};
    Status status = run("PRAGMA synchronous = FULL");
    m_durable = status.ok();
    return status;
}

Status SqliteConnection::applySettings(SqliteUse use)
{
    switch (use) {
    case SqliteUse::Writing:
        return {}; // made durable before its first change: makeDurable()
    case SqliteUse::Reading:
        // A negative cache size is in KiB.
        return run("PRAGMA temp_store = FILE; PRAGMA main.cache_size = -512; "
                   "PRAGMA temp.cache_size = -512");
    case SqliteUse::Building:
        m_durable = true;
        return run("PRAGMA journal_mode = OFF; PRAGMA synchronous = FULL");
    }
    return {};
}

Status SqliteConnection::run(const char *settings)
{
    sqlite3 *db = handle();
    if (!db)
        return noHandle();
    if (sqlite3_exec(db, settings, nullptr, nullptr, nullptr) == SQLITE_OK)
        return {};
    const int code = sqlite3_extended_errcode(db);
    return {{code, QString::fromUtf8(sqlite3_errmsg(db)), sqliteCause(code)}};
}

} // namespace dialvault
