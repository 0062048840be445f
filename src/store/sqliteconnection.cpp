#include "store/sqliteconnection.h"

#include "store/storefailure.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
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
    const char *mode = "ro&immutable=1";
    if (use == SqliteUse::Reading)
        mode = "ro";
    else if (use == SqliteUse::Writing)
        mode = "rw";
    else if (use == SqliteUse::Building)
        mode = "rwc";
    return QStringLiteral("file:%1?mode=%2").arg(QString::fromLatin1(encoded), QLatin1String(mode));
}

bool readOnly(SqliteUse use)
{
    return use == SqliteUse::Reading || use == SqliteUse::Inspecting;
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
    if (readOnly(use))
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    m_db.setConnectOptions(options);
    m_durable = false;
    if (!m_db.open())
        return sqliteFailure(m_db.lastError());
    Status status;
    if (use == SqliteUse::Building) {
        // A new file, which nobody else uses, drops its journal first: a
        // defensive connection may no longer do so.
        status = applySettings(use);
        if (status.ok())
            status = distrustSchema();
    } else {
        // Before the first statement, which is when SQLite reads the schema.
        status = distrustSchema();
        if (status.ok())
            status = applySettings(use);
    }
    if (!status.ok())
        m_db.close();
    return status;
}

Status SqliteConnection::openInMemory()
{
    m_db.close();
    m_db.setDatabaseName(QStringLiteral(":memory:"));
    m_db.setConnectOptions();
    m_durable = false;
    if (!m_db.open())
        return sqliteFailure(m_db.lastError());
    Status status = distrustSchema();
    if (!status.ok())
        m_db.close();
    return status;
}

Status SqliteConnection::attach(const QString &path, const QString &name, SqliteUse use)
{
    QSqlQuery query(m_db);
    if (!query.prepare(QStringLiteral("ATTACH DATABASE ? AS %1").arg(name)))
        return sqliteFailure(query.lastError());
    query.addBindValue(fileUri(path, use));
    if (!query.exec())
        return sqliteFailure(query.lastError());
    return {};
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

Status SqliteConnection::distrustSchema()
{
    sqlite3 *db = handle();
    if (!db)
        return noHandle();
    int defensive = 0;
    int trusted = 1;
    if (sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, &defensive) != SQLITE_OK
        || sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &trusted) != SQLITE_OK
        || defensive != 1 || trusted != 0)
        return {{1, QStringLiteral("SQLite refused the defensive settings"), FailureCause::Other}};
    return {};
}

Status SqliteConnection::applySettings(SqliteUse use)
{
    switch (use) {
    case SqliteUse::Writing:
        return {}; // made durable before its first change: makeDurable()
    case SqliteUse::Reading:
    case SqliteUse::Inspecting:
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
