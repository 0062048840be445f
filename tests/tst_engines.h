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
        : server_(engine == serverEngine ? TestServer::find() : std::nullopt)
        , database_(database)
        , isServer_(engine == serverEngine)
    {
        if (!isServer_) {
            ready_ = dir_.isValid() && createFile();
            return;
        }
        if (!server_)
            return;
        static QSet<QString> made;
        ready_ = made.contains(database) ? server_->empty(database)
                                         : server_->freshPhoneBook(database);
        if (ready_)
            made.insert(database);
    }

    bool unavailable() const { return isServer_ && !server_; }
    bool ready() const { return ready_; }
    bool isServer() const { return isServer_; }

    PhoneBookSource source() const
    {
        return isServer_ ? PhoneBookSource::server(server_->url(database_))
                         : PhoneBookSource::inFolder(dir_.path());
    }

    // `sql` run by another program on the same phone book: the first value.
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const
    {
        if (isServer_)
            return server_->scalar(database_, sql, values);
        RawDatabase raw(source().databasePath());
        return raw.column(sql, values).value(0);
    }

    // `sql`, which gives back nothing, run by another program.
    bool exec(const QString &sql) const
    {
        if (isServer_)
            return server_->exec(database_, sql);
        return RawDatabase(source().databasePath()).exec(sql);
    }

    // A row written by another program, NULL where a value is invalid.
    bool insert(const QVariant &name, const QVariant &phone, const QVariant &note, double number)
    {
        if (!isServer_)
            return RawDatabase(source().databasePath()).insert(name, phone, note, number);
        return scalar(QStringLiteral("INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", \"رديف\") "
                                     "VALUES (?, ?, ?, ?)"),
                      {name, phone, note, number})
            .isValid();
    }

private:
    bool createFile() { return createDatabaseIfMissing(source().databasePath()).value; }

    std::optional<TestServer> server_;
    QString database_;
    bool isServer_ = false;
    bool ready_ = false;
    QTemporaryDir dir_;
};

} // namespace dialvault

// The case's phone book as `book`, on the engine of the current row.
#define ENGINE_BOOK(book, database)                                                                \
    QFETCH(QString, engine);                                                                       \
    EngineBook book(engine, QStringLiteral(database));                                             \
    if (book.unavailable())                                                                        \
        QSKIP("no test server: the server cases run under CTest");                                 \
    QVERIFY2(book.ready(), "the phone book could not be made")
