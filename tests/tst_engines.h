#pragma once

// The store's cases on both engines from one table of cases: a `_data`
// column "engine" names a fresh phone book file, or the phone book on the
// test server that CTest starts (tools/pgtest.sh), emptied for each case.

#include "store/databasecreation.h"
#include "store/phonebooksource.h"
#include "support/rawdatabase.h"
#include "support/testserver.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace dialvault {

inline const QString sqliteEngine = QStringLiteral("sqlite");
inline const QString serverEngine = QStringLiteral("postgresql");

inline void addEngineColumn()
{
    QTest::addColumn<QString>("engine");
}

// A row of a table of cases for `engine`, named after it.
inline QTestData &engineRow(const QString &engine, const char *name)
{
    return QTest::newRow(qPrintable(engine + QStringLiteral(": ") + QLatin1String(name))) << engine;
}

// A table for a test without cases of its own: one row per engine.
inline void engineRows()
{
    addEngineColumn();
    for (const QString &engine : {sqliteEngine, serverEngine})
        engineRow(engine, "phone book");
}

// An empty phone book for one case.
class EngineBook
{
public:
    // `database`: the test server's database for this program, made afresh
    // the first time, emptied every time.
    EngineBook(const QString &engine, const QString &database)
        : m_server(engine == serverEngine ? TestServer::find() : std::nullopt)
        , m_database(database)
        , m_isServer(engine == serverEngine)
    {
        if (!m_isServer) {
            m_ready = m_dir.isValid() && createFile();
            return;
        }
        if (!m_server)
            return;
        static QSet<QString> made;
        m_ready = made.contains(database) ? m_server->empty(database)
                                          : m_server->freshPhoneBook(database);
        if (m_ready)
            made.insert(database);
    }

    bool unavailable() const { return m_isServer && !m_server; }
    bool ready() const { return m_ready; }
    bool isServer() const { return m_isServer; }

    PhoneBookSource source() const
    {
        return m_isServer ? PhoneBookSource::server(m_server->url(m_database))
                          : PhoneBookSource::inFolder(m_dir.path());
    }

    // `sql` run by another program on the same phone book: the first value.
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const
    {
        if (m_isServer)
            return m_server->scalar(m_database, sql, values);
        RawDatabase raw(source().databasePath());
        return raw.column(sql, values).value(0);
    }

    // `sql`, which gives back nothing, run by another program.
    bool exec(const QString &sql) const
    {
        if (m_isServer)
            return m_server->exec(m_database, sql);
        return RawDatabase(source().databasePath()).exec(sql);
    }

    // A row written by another program, NULL where a value is invalid.
    bool insert(const QVariant &name, const QVariant &phone, const QVariant &note, double number)
    {
        if (!m_isServer)
            return RawDatabase(source().databasePath()).insert(name, phone, note, number);
        return scalar(QStringLiteral("INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", \"رديف\") "
                                     "VALUES (?, ?, ?, ?)"),
                      {name, phone, note, number})
            .isValid();
    }

private:
    bool createFile() { return createDatabaseIfMissing(source().databasePath()).value; }

    std::optional<TestServer> m_server;
    QString m_database;
    bool m_isServer = false;
    bool m_ready = false;
    QTemporaryDir m_dir;
};

} // namespace dialvault

// The case's phone book as `book`, on the engine of the current row.
#define ENGINE_BOOK(book, database)                                                                \
    QFETCH(QString, engine);                                                                       \
    EngineBook book(engine, QStringLiteral(database));                                             \
    if (book.unavailable())                                                                        \
        QSKIP("no test server: the server cases run under CTest");                                 \
    QVERIFY2(book.ready(), "the phone book could not be made")
