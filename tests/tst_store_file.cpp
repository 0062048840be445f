// The database file as other programs see it: made by the build, upgraded
// from a bare table, shared with plain SQLite clients.
#include "tst_store_fixture.h"

#include "store/sqliteconnection.h"
#include "store/storeschema.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <sqlite3.h>

using namespace dialvault;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Result<PhoneAndNote> search(ContactStore &store, const QString &name)
{
    Result<PhoneAndNote> result;
    result.error = store.queryByName(name).error;
    if (result.ok())
        result = store.readFirstMatch();
    return result;
}

} // namespace

Q_DECLARE_METATYPE(dialvault::SqliteUse)

class TestStoreFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createdFileIsCompleteAndPlainSqlite();
    void existingFileIsNeverOverwritten();
    void creationFailureLeavesNothing();
    void oddFolderNamesWork_data();
    void oddFolderNamesWork();
    void rowsFromOtherClientsAreFoundAndCounted();
    void bareTableIsCompletedOnOpen();
    void olderVersionGainsDeletedEntriesOnOpen();
    void nameQueryIsAnIndexLookup();
    void everyConnectionDistrustsTheFile_data();
    void everyConnectionDistrustsTheFile();
};

void TestStoreFile::createdFileIsCompleteAndPlainSqlite()
{
    StoreFolder folder;
    const Result<bool> created = createDatabaseIfMissing(folder.databasePath());
    QVERIFY(created.ok());
    QVERIFY(created.value);
    // Only the database itself: no journal or half-built file left beside it.
    QCOMPARE(QDir(folder.folder()).entryList(QDir::Files), QStringList{ContactStore::fileName()});

    RawDatabase raw(folder.databasePath());
    QCOMPARE(raw.scalar(QStringLiteral("PRAGMA user_version")).toInt(), StoreSchema::version);
    QCOMPARE(raw.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    QCOMPARE(raw.column(QStringLiteral("SELECT name FROM pragma_table_info('test')")),
             QVariantList({QStringLiteral("نام"), QStringLiteral("تلفن"), QStringLiteral("يادداشت"),
                           QStringLiteral("رديف")}));
    // Nothing in the schema may need a function or collation a plain client lacks.
    const QString schema
        = raw.column(QStringLiteral("SELECT group_concat(sql, ';') FROM sqlite_master"))
              .value(0)
              .toString();
    QVERIFY(!schema.contains(QStringLiteral("COLLATE"), Qt::CaseInsensitive));

    ContactStore store(folder.folder());
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, 0);
}

void TestStoreFile::existingFileIsNeverOverwritten()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    {
        RawDatabase raw(folder.databasePath());
        QVERIFY(raw.insert(QStringLiteral("kept"), QStringLiteral("1"), QStringLiteral(""), 1));
    }
    const QByteArray before = contents(folder.databasePath());
    const Result<bool> again = createDatabaseIfMissing(folder.databasePath());
    QVERIFY(again.ok());
    QVERIFY(!again.value);
    QCOMPARE(contents(folder.databasePath()), before);

    // Not even a file that is no database at all is replaced.
    QFile other(folder.folder() + QStringLiteral("/other.mdb"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("not a database");
    other.close();
    QVERIFY(createDatabaseIfMissing(other.fileName()).ok());
    QCOMPARE(contents(other.fileName()), QByteArray("not a database"));
}

void TestStoreFile::creationFailureLeavesNothing()
{
    StoreFolder folder;
    const Result<bool> nowhere
        = createDatabaseIfMissing(folder.folder() + QStringLiteral("/no/such/db1.mdb"));
    QVERIFY(!nowhere.ok());
    QVERIFY(!nowhere.error.description.isEmpty());
    QVERIFY(QDir(folder.folder()).isEmpty());
}

void TestStoreFile::oddFolderNamesWork_data()
{
    QTest::addColumn<QString>("subfolder");
    QTest::newRow("persian") << QStringLiteral("دفترچه تلفن");
    QTest::newRow("uri characters") << QStringLiteral("a?b#c%20d&mode=ro");
}

void TestStoreFile::oddFolderNamesWork()
{
    QFETCH(QString, subfolder);
    StoreFolder base;
    QVERIFY(QDir(base.folder()).mkdir(subfolder));
    const QString folder = base.folder() + u'/' + subfolder;
    ContactStore store(folder);
    QVERIFY(!store.open().ok());
    QVERIFY(QDir(folder).isEmpty());

    QVERIFY(createDatabaseIfMissing(store.databasePath()).value);
    QVERIFY(store.open().ok());
    QVERIFY(store.appendEntry({QStringLiteral("a"), QStringLiteral("1"), QString(), 1}).ok());
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, 1);
}

void TestStoreFile::rowsFromOtherClientsAreFoundAndCounted()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    ContactStore store(folder.folder());
    QVERIFY(store.open().ok());
    QVERIFY(store.appendEntry({QStringLiteral("ours"), QStringLiteral("0"), QString(), 1}).ok());

    RawDatabase raw(folder.databasePath());
    QVERIFY(raw.insert(QStringLiteral("نگار یزدانی"), QStringLiteral("1"), QStringLiteral(""), 2));
    QVERIFY(raw.insert(QStringLiteral("Kamran"), QStringLiteral("2"), QStringLiteral(""), 3));
    QVERIFY(raw.insert(QStringLiteral("gone"), QStringLiteral("3"), QStringLiteral(""), 4));
    QVERIFY(
        raw.run(QStringLiteral("DELETE FROM test WHERE \"نام\" = ?"), {QStringLiteral("gone")}));

    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, 3);
    QCOMPARE(search(store, QStringLiteral("نگار يزداني")).value.phone, QStringLiteral("1"));
    QCOMPARE(search(store, QStringLiteral("KAMRAN")).value.phone, QStringLiteral("2"));

    // A bulk delete by another client is counted as well.
    QVERIFY(raw.exec(QStringLiteral("DELETE FROM test")));
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, 0);
}

void TestStoreFile::bareTableIsCompletedOnOpen()
{
    StoreFolder folder;
    QFile(folder.databasePath()).open(QIODevice::WriteOnly);
    {
        RawDatabase raw(folder.databasePath());
        QVERIFY(raw.exec(StoreSchema::createTableStatement()));
        QVERIFY(raw.insert(QStringLiteral("علی"), QStringLiteral("1"), QStringLiteral("a"), 1));
        QVERIFY(raw.insert(QStringLiteral("كامران"), QStringLiteral("2"), QStringLiteral("b"), 2));
        QVERIFY(raw.insert(QVariant(), QStringLiteral("3"), QStringLiteral("c"), 3));
    }
    ContactStore store(folder.folder());
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, 3);
    QCOMPARE(search(store, QStringLiteral("علي")).value.phone, QStringLiteral("1"));
    QCOMPARE(search(store, QStringLiteral("کامران")).value.phone, QStringLiteral("2"));

    RawDatabase raw(folder.databasePath());
    QCOMPARE(raw.scalar(QStringLiteral("PRAGMA user_version")).toInt(), StoreSchema::version);
    const QVariantList schema
        = raw.column(QStringLiteral("SELECT sql FROM sqlite_master ORDER BY name"));
    QVERIFY(raw.insert(QStringLiteral("later"), QStringLiteral("4"), QStringLiteral("d"), 4));

    // A second open finds the file complete and changes nothing.
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, 4);
    QCOMPARE(raw.column(QStringLiteral("SELECT sql FROM sqlite_master ORDER BY name")), schema);
}

// A file of the version before deleted entries were kept gains their table
// on open, with its entries as they were, or, when it cannot be written,
// is left at its version, whole.
void TestStoreFile::olderVersionGainsDeletedEntriesOnOpen()
{
    StoreFolder folder;
    QFile(folder.databasePath()).open(QIODevice::WriteOnly);
    {
        RawDatabase raw(folder.databasePath());
        QVERIFY(raw.exec(StoreSchema::createTableStatement()));
        for (const StoreSchema::GeneratedColumn &column : StoreSchema::generatedColumns())
            QVERIFY(raw.exec(StoreSchema::addColumnStatement(column)));
        for (const QString &statement : StoreSchema::companionStatements()) {
            if (!statement.contains(QStringLiteral("test_deleted")))
                QVERIFY2(raw.exec(statement), qPrintable(raw.error));
        }
        QVERIFY(raw.exec(QStringLiteral("PRAGMA user_version = 3")));
        QVERIFY(raw.insert(QStringLiteral("علی"), QStringLiteral("1"), QStringLiteral("a"), 1));
    }
    const auto tables = [&] {
        return RawDatabase(folder.databasePath())
            .column(QStringLiteral("SELECT name FROM sqlite_master WHERE name = 'test_deleted' "
                                   "UNION ALL SELECT user_version FROM pragma_user_version"));
    };
    {
        // Another program writing: the open waits, then fails; nothing changed.
        RawDatabase writer(folder.databasePath());
        QVERIFY(writer.exec(QStringLiteral("PRAGMA busy_timeout = 0; BEGIN IMMEDIATE")));
        ContactStore store(folder.folder());
        QVERIFY(!store.open().ok());
        QVERIFY(writer.exec(QStringLiteral("ROLLBACK")));
    }
    QCOMPARE(tables(), QVariantList{3});

    ContactStore store(folder.folder());
    QVERIFY(store.open().ok());
    QCOMPARE(tables(), (QVariantList{QStringLiteral("test_deleted"), StoreSchema::version}));
    QCOMPARE(store.countEntries().value, 1);
    QVERIFY(store.queryByName(QStringLiteral("علي")).ok() && store.deleteFirstMatch().ok());
    QCOMPARE(store.recentlyDeleted().value.value(0).fields.note, QStringLiteral("a"));
}

void TestStoreFile::nameQueryIsAnIndexLookup()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    RawDatabase raw(folder.databasePath());
    const QVariantList plan
        = raw.column(QStringLiteral("EXPLAIN QUERY PLAN ") + StoreSchema::nameQueryStatement(),
                     {QStringLiteral("x")}, 3);
    QVERIFY(!plan.isEmpty());
    for (const QVariant &step : plan) {
        const QString detail = step.toString();
        QVERIFY2(!detail.contains(QStringLiteral("SCAN")), qPrintable(detail));
        QVERIFY2(!detail.contains(QStringLiteral("TEMP B-TREE")), qPrintable(detail));
    }
    QVERIFY(plan.first().toString().contains(StoreSchema::foldedNameIndex));
}

void TestStoreFile::everyConnectionDistrustsTheFile_data()
{
    QTest::addColumn<SqliteUse>("use");
    QTest::newRow("writing") << SqliteUse::Writing;
    QTest::newRow("reading") << SqliteUse::Reading;
    QTest::newRow("building") << SqliteUse::Building;
    QTest::newRow("inspecting") << SqliteUse::Inspecting;
}

// The file's own code calls only harmless functions, and nothing can write
// its schema table by hand; a new file is still built without a journal.
void TestStoreFile::everyConnectionDistrustsTheFile()
{
    QFETCH(SqliteUse, use);
    StoreFolder folder;
    QVERIFY(folder.create());
    SqliteConnection connection;
    QVERIFY(connection.open(folder.databasePath(), use).ok());
    QSqlQuery query(connection.database());
    QVERIFY(query.exec(QStringLiteral("PRAGMA trusted_schema")) && query.next());
    QCOMPARE(query.value(0).toInt(), 0);
    int defensive = -1;
    QCOMPARE(sqlite3_db_config(connection.handle(), SQLITE_DBCONFIG_DEFENSIVE, -1, &defensive),
             SQLITE_OK);
    QCOMPARE(defensive, 1);
    query.finish();
    QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
    QCOMPARE(query.value(0).toString(),
             use == SqliteUse::Building ? QStringLiteral("off") : QStringLiteral("delete"));
}

QTEST_GUILESS_MAIN(TestStoreFile)
#include "tst_store_file.moc"
