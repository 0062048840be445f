// The phone book on a PostgreSQL server: what server-init makes and keeps,
// the keys the server computes beside the program's, the rights a person
// needs, and a connection that breaks (a server that is not there at all:
// tst_mainwindow_server).
#include "cli/serverinit.h"
#include "store/contactstore.h"
#include "store/phonebook.h"
#include "store/searchkeys.h"
#include "store/storeengine.h"
#include "support/rawdatabase.h"
#include "support/testserver.h"
#include "tst_store_fixture.h"
#include "windows/contactlistmodel.h"
#include "words/causewords.h"

#include <QtTest>

using namespace dialvault;

namespace {

const QString database = QStringLiteral("tst_server");

// What server-init leaves behind, in a form that compares: every column with
// its type and expression, the indexes, triggers and the count function, and
// the table's identity (a table made again would have another).
const QString catalogue = QStringLiteral(R"(
SELECT string_agg(item, E'\n' ORDER BY item) FROM (
  SELECT attname || ' ' || format_type(atttypid, atttypmod) || ' '
         || coalesce(pg_get_expr(adbin, adrelid), '') AS item
    FROM pg_attribute LEFT JOIN pg_attrdef ON adrelid = attrelid AND adnum = attnum
   WHERE attrelid = 'test'::regclass AND attnum > 0 AND NOT attisdropped
  UNION ALL SELECT pg_get_indexdef(indexrelid) FROM pg_index
   WHERE indrelid IN ('test'::regclass, 'test_count'::regclass)
  UNION ALL SELECT pg_get_triggerdef(oid) FROM pg_trigger WHERE tgrelid = 'test'::regclass
  UNION ALL SELECT pg_get_functiondef('test_count_change'::regproc)
  UNION ALL SELECT 'table ' || 'test'::regclass::oid
  UNION ALL SELECT 'count ' || sum(n) FROM test_count) items)");

qint32 refreshed(ContactStore &store)
{
    if (!store.open().ok())
        return -1;
    const Result<qint32> count = store.countEntries();
    return count.ok() ? count.value : -1;
}

bool add(ContactStore &store, const QString &name, const QString &phone)
{
    const qint32 count = refreshed(store);
    return count >= 0 && store.appendEntry({name, phone, QStringLiteral("n"), count + 1.0}).ok();
}

QStringList names(PhoneBook &book, const QString &text, PartPlace place)
{
    QStringList found;
    const Status searched = book.findByPart(PartQuery(text), place, [&](const ContactEntry &e) {
        found.append(e.name);
        return true;
    });
    if (!searched.ok())
        found.append(QStringLiteral("failed: ") + searched.error.description);
    return found;
}

} // namespace

class TestServer_ : public QObject
{
    Q_OBJECT

private:
    std::optional<TestServer> server;

    QString url(const QString &user = QStringLiteral("postgres")) const
    {
        return server->url(database, user);
    }

    bool freshDatabase()
    {
        return server->exec(QStringLiteral("postgres"),
                            QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database))
            && server->exec(QStringLiteral("postgres"),
                            QStringLiteral("CREATE DATABASE %1").arg(database));
    }

    Result<ServerPreparation> prepare(const QString &user = QStringLiteral("postgres"))
    {
        const std::unique_ptr<StoreEngine> engine
            = makeStoreEngine(PhoneBookSource::server(url(user)));
        Result<ServerPreparation> prepared;
        prepared.error = engine->connect().error;
        return prepared.ok() ? prepareServerPhoneBook(*engine) : prepared;
    }

private Q_SLOTS:
    void initTestCase()
    {
        server = TestServer::find();
        if (!server)
            QSKIP("no test server: these tests run under CTest");
    }

    void preparingTwiceChangesNothing()
    {
        QVERIFY(freshDatabase());
        const Result<ServerPreparation> first = prepare();
        QVERIFY2(first.ok(), qPrintable(first.error.description));
        QCOMPARE(first.value.schema, QStringLiteral("public"));
        QVERIFY(first.value.made.contains(QStringLiteral("table test")));
        ContactStore store(PhoneBookSource::server(url()));
        QVERIFY(add(store, QStringLiteral("علی"), QStringLiteral("1")));
        QVERIFY(add(store, QStringLiteral("x"), QStringLiteral("2")));

        const QString before = server->scalar(database, catalogue).toString();
        const Result<ServerPreparation> second = prepare();
        QVERIFY(second.ok());
        QCOMPARE(second.value.made, QStringList());
        QCOMPARE(server->scalar(database, catalogue).toString(), before);
        QVERIFY(before.contains(QStringLiteral("count 2")));

        // A phone book prepared before deleted entries were kept deletes by
        // name as it did, and nothing else; prepared again, it gains their
        // table and keeps its entries.
        QVERIFY(server->exec(database, QStringLiteral("DROP TABLE test_deleted")));
        QVERIFY(store.queryByName(QStringLiteral("علی")).ok() && store.deleteFirstMatch().ok());
        QCOMPARE(store.lastDeleted().id, 0);
        QCOMPARE(store.deleteEntries({}).error.cause, FailureCause::ServerNotPrepared);
        const Result<ServerPreparation> third = prepare();
        QVERIFY(third.ok());
        QCOMPARE(third.value.made, QStringList{QStringLiteral("table test_deleted")});
        QVERIFY(store.open().ok());
        QVERIFY(store.queryByName(QStringLiteral("x")).ok() && store.deleteFirstMatch().ok());
        QVERIFY(store.lastDeleted().id != 0);
        QCOMPARE(store.recentlyDeleted().value.value(0).fields.name, QStringLiteral("x"));
        QCOMPARE(refreshed(store), 0);
    }

    // A table with only the four fields (filled by hand or another program)
    // gets the rest; its rows keep their order and are counted.
    void preparingCompletesATableOfFourFields()
    {
        QVERIFY(freshDatabase());
        QVERIFY(server->exec(database,
                             QStringLiteral("CREATE TABLE test (\"نام\" text, \"تلفن\" "
                                            "text, \"يادداشت\" text, \"رديف\" float8)")));
        for (const QString &name :
             {QStringLiteral("علي"), QStringLiteral("ب"), QStringLiteral("علی")})
            QVERIFY(server
                        ->scalar(database, QStringLiteral("INSERT INTO test VALUES (?, ?, '', 1)"),
                                 {name, name + QStringLiteral("-phone")})
                        .isValid());
        const Result<ServerPreparation> prepared = prepare();
        QVERIFY2(prepared.ok(), qPrintable(prepared.error.description));
        QVERIFY(prepared.value.made.contains(QStringLiteral("column id")));

        ContactStore store(PhoneBookSource::server(url()));
        QCOMPARE(refreshed(store), 3);
        QVERIFY(store.queryByName(QStringLiteral("علی")).ok());
        QCOMPARE(store.readFirstMatch().value.phone, QStringLiteral("علي-phone"));
    }

    void foreignTablesAndDatabasesAreRefused()
    {
        QVERIFY(freshDatabase());
        QVERIFY(server->exec(database, QStringLiteral("CREATE TABLE test (a int)")));
        const Result<ServerPreparation> foreign = prepare();
        QCOMPARE(foreign.error.cause, FailureCause::MissingField);
        QCOMPARE(server
                     ->scalar(database,
                              QStringLiteral("SELECT count(*) FROM pg_attribute WHERE "
                                             "attrelid = 'test'::regclass AND attnum > 0"))
                     .toInt(),
                 1);

        const QString latin = QStringLiteral("tst_server_ascii");
        QVERIFY(server->exec(QStringLiteral("postgres"),
                             QStringLiteral("DROP DATABASE IF EXISTS %1").arg(latin)));
        QVERIFY(server->exec(QStringLiteral("postgres"),
                             QStringLiteral("CREATE DATABASE %1 ENCODING 'SQL_ASCII' "
                                            "TEMPLATE template0 LC_COLLATE 'C' LC_CTYPE 'C'")
                                 .arg(latin)));
        const std::unique_ptr<StoreEngine> engine
            = makeStoreEngine(PhoneBookSource::server(server->url(latin)));
        QVERIFY(engine->connect().ok());
        const Result<ServerPreparation> ascii = prepareServerPhoneBook(*engine);
        QVERIFY(!ascii.ok());
        QVERIFY(ascii.error.description.contains(QStringLiteral("UTF8")));
    }

    // Another client writes the row; the server computes both keys with its
    // own functions, and they must be what the program and SQLite compute.
    void serverKeysAgreeWithTheProgram_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("phone");
        QTest::newRow("yeh, kaf and alef maksura") << QStringLiteral("يکی كى") << "0912 123-4567";
        QTest::newRow("three scripts of digits")
            << QStringLiteral("کلاس ۱۲ و ٣٤ و 56") << QStringLiteral("\u200F۰۹۱۲\u00A0۱۱۱\u200E");
        QTest::newRow("ascii case only")
            << QStringLiteral("ÄLI Σ İstanbul ALI") << "+98 (912) 555.0101";
        QTest::newRow("zwnj and hamza kept")
            << QStringLiteral("نيک‌نام أحمد") << "0098-21-8888";
        QTest::newRow("brackets, dashes, isolates")
            << "x" << QStringLiteral("[٠٢١] \u2066021\u2013333\u2212444\u2011555\u2069");
        QTest::newRow("+98 twice, plus inside, letters")
            << "y" << QStringLiteral("+98098 12+34 ext. 5");
        QTest::newRow("98 without plus") << "z"
                                         << "98 912";
        QTest::newRow("empty") << ""
                               << "";
    }

    void serverKeysAgreeWithTheProgram()
    {
        QFETCH(QString, name);
        QFETCH(QString, phone);
        QVERIFY(server->freshPhoneBook(database));
        QVERIFY(server
                    ->scalar(database,
                             QStringLiteral("INSERT INTO test (\"نام\", \"تلفن\") VALUES (?, ?)"),
                             {name, phone})
                    .isValid());
        StoreFolder folder;
        QVERIFY(folder.create());
        RawDatabase file(folder.databasePath());
        QVERIFY(file.insert(name, phone, QString(), 1));

        for (const auto &[column, expected] :
             {std::pair{QStringLiteral("folded_name"), foldedName(name)},
              std::pair{QStringLiteral("phone_digits"), storedNumberDigits(phone)}}) {
            const QString sql = QStringLiteral("SELECT %1 FROM test").arg(column);
            QCOMPARE(server->scalar(database, sql).toString(), expected);
            QCOMPARE(file.scalar(sql).toString(), expected);
        }
    }

    // A person without the rights is told which one is missing, operation by
    // operation as the rights are given one after another.
    void missingRightsAreNamed()
    {
        QVERIFY(server->freshPhoneBook(database));
        QVERIFY(
            server->exec(database, QStringLiteral("REVOKE ALL ON test, test_count FROM stranger")));
        ContactStore store(PhoneBookSource::server(url(QStringLiteral("stranger"))));
        QVERIFY(store.open().ok());
        const auto refused = [](const Status &status, const char *right) {
            return status.error.cause == FailureCause::PermissionDenied
                && status.error.missingRight == QLatin1String(right)
                && errorWords(status.error).contains(QLatin1String(right));
        };
        QVERIFY(refused(store.countEntries(), "SELECT ON test_count"));
        QVERIFY(server->exec(database, QStringLiteral("GRANT SELECT ON test_count TO stranger")));
        QCOMPARE(refreshed(store), 0);
        QVERIFY(refused(store.queryByName(QStringLiteral("a")), "SELECT ON test"));
        QVERIFY(server->exec(database, QStringLiteral("GRANT SELECT ON test TO stranger")));
        QVERIFY(refused(store.appendEntry({QStringLiteral("a"), QStringLiteral("1"), {}, 1}),
                        "INSERT ON test"));
        QVERIFY(server->exec(database, QStringLiteral("GRANT INSERT ON test TO stranger")));
        QVERIFY(add(store, QStringLiteral("a"), QStringLiteral("1")));
        QVERIFY(store.queryByName(QStringLiteral("a")).ok());
        QVERIFY(refused(store.deleteFirstMatch(), "DELETE ON test"));
        QCOMPARE(refreshed(store), 1);
        // An import names the right it lacks too.
        QVERIFY(server->exec(database,
                             QStringLiteral("REVOKE EXECUTE ON FUNCTION test_import_lock(bigint[]) "
                                            "FROM PUBLIC, clerk")));
        PhoneBook book(PhoneBookSource::server(url(QStringLiteral("stranger"))));
        QVERIFY(book.open().ok());
        const QList<ContactEntry> cards{{QStringLiteral("b"), QStringLiteral("2"), {}, 0}};
        QVERIFY(
            refused(book.importEntries(cards), "EXECUTE ON FUNCTION test_import_lock(bigint[])"));
        QVERIFY(server->exec(
            database,
            QStringLiteral("GRANT EXECUTE ON FUNCTION test_import_lock(bigint[]) TO stranger")));
        QCOMPARE(book.importEntries(cards).value.added, 1);

        // Preparing a phone book needs more than a person has.
        QVERIFY(freshDatabase());
        const Result<ServerPreparation> byClerk = prepare(QStringLiteral("clerk"));
        QCOMPARE(byClerk.error.cause, FailureCause::PermissionDenied);
        QCOMPARE(byClerk.error.missingRight, QStringLiteral("CREATE ON SCHEMA \"public\""));
    }

    // Import, export order and search by part give the same on both engines.
    void phoneBookAgreesWithTheFile()
    {
        QVERIFY(server->freshPhoneBook(database));
        StoreFolder folder;
        QVERIFY(folder.create());
        PhoneBook onServer(PhoneBookSource::server(url(QStringLiteral("clerk"))));
        PhoneBook onFile(folder.folder());
        const QList<ContactEntry> entries{
            {QStringLiteral("Ali Rezaei"), QStringLiteral("+98 912 000 1111"), {}, 0},
            {QStringLiteral("ali rezaei"), QStringLiteral("0912-000-1111"), {}, 0},
            {QStringLiteral("کامران"), QStringLiteral("۰۲۱ ۵۵۵"), QStringLiteral("x"), 0},
            {QStringLiteral("كامران ب"), QStringLiteral("021 556"), {}, 0},
            {QString(), QString(), {}, 0},
            {QStringLiteral("یاسمن"), QStringLiteral("0912 999"), {}, 0},
        };
        for (PhoneBook *book : {&onServer, &onFile}) {
            QVERIFY(book->open().ok());
            const Result<ImportCounts> imported = book->importEntries(entries);
            QVERIFY2(imported.ok(), qPrintable(imported.error.description));
            QCOMPARE(imported.value.added, 4);
            QCOMPARE(imported.value.duplicates, 1);
            QCOMPARE(imported.value.withoutNameOrNumber, 1);
            QCOMPARE(book->importEntries(entries).value.duplicates, 5);
        }
        const QList<std::pair<QString, PartPlace>> searches{
            {QStringLiteral("کام"), PartPlace::Start},
            {QStringLiteral("ران"), PartPlace::Anywhere},
            {QStringLiteral("0912"), PartPlace::Start},
            {QStringLiteral("+98 912"), PartPlace::Start},
            {QStringLiteral("55"), PartPlace::Anywhere},
            {QStringLiteral("ياس"), PartPlace::Start},
            {QStringLiteral("ALI"), PartPlace::Anywhere},
        };
        for (const auto &[text, place] : searches)
            QCOMPARE(names(onServer, text, place), names(onFile, text, place));
        QCOMPARE(names(onServer, QStringLiteral("کام"), PartPlace::Start).size(), 2);

        QList<ContactEntry> all[2];
        for (int i = 0; i < 2; ++i) {
            PhoneBook &book = i == 0 ? onServer : onFile;
            QVERIFY(book.forEachEntry([&](const ContactEntry &e) {
                            all[i].append(e);
                            return true;
                        })
                        .ok());
        }
        QCOMPARE(all[0].size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(all[0][i].name, all[1][i].name);
            QCOMPARE(all[0][i].rowNumber, all[1][i].rowNumber);
        }
    }

    // The list shows the server's entries as they stood when it opened.
    void listShowsTheServerAsOpened()
    {
        QVERIFY(server->freshPhoneBook(database));
        ContactStore store(PhoneBookSource::server(url(QStringLiteral("clerk"))));
        for (int i = 0; i < 1500; ++i)
            QVERIFY(
                store.open().ok()
                && store.appendEntry({QString::number(i), QStringLiteral("p"), {}, i + 1.0}).ok());
        QVERIFY(store.queryByName(QStringLiteral("0")).ok() && store.deleteFirstMatch().ok());

        ContactListModel list;
        const Status opened = list.open(PhoneBookSource::server(url(QStringLiteral("clerk"))));
        QVERIFY2(opened.ok(), qPrintable(opened.error.description));
        QCOMPARE(list.rowCount(), 1499);
        QCOMPARE(list.data(list.index(0, 0)).toString(), QStringLiteral("1"));
        QVERIFY(store.queryByName(QStringLiteral("1")).ok() && store.deleteFirstMatch().ok());
        QVERIFY(add(store, QStringLiteral("later"), QStringLiteral("p")));
        QVERIFY(list.waitUntilReleased(10000));
        QCOMPARE(list.rowCount(), 1499);
        QCOMPARE(list.data(list.index(0, 0)).toString(), QStringLiteral("1"));
        QCOMPARE(list.data(list.index(1498, 0)).toString(), QStringLiteral("1499"));
        QCOMPARE(list.data(list.index(700, 0)).toString(), QStringLiteral("701"));
        QCOMPARE(list.data(list.index(700, 3)).toString(), QStringLiteral("702"));

        QVERIFY(list.open(PhoneBookSource::server(url(QStringLiteral("clerk")))).ok());
        QCOMPARE(list.rowCount(), 1499);
        QCOMPARE(list.data(list.index(0, 0)).toString(), QStringLiteral("2"));
        QCOMPARE(list.data(list.index(1498, 0)).toString(), QStringLiteral("later"));
    }

    // A connection the server ended is made again by the next operation,
    // which then succeeds, and an add sent twice is stored once.
    void brokenConnectionIsMadeAgain()
    {
        QVERIFY(server->freshPhoneBook(database));
        ContactStore store(PhoneBookSource::server(url(QStringLiteral("clerk"))));
        QVERIFY(add(store, QStringLiteral("a"), QStringLiteral("1")));
        const QString endClerk = QStringLiteral("SELECT count(pg_terminate_backend(pid)) FROM "
                                                "pg_stat_activity WHERE usename = 'clerk'");
        QCOMPARE(server->scalar(database, endClerk).toInt(), 1);
        QVERIFY(store.queryByName(QStringLiteral("a")).ok());
        QCOMPARE(store.readFirstMatch().value.phone, QStringLiteral("1"));
        QCOMPARE(server->scalar(database, endClerk).toInt(), 1);
        QVERIFY(store.open().ok());
        QVERIFY(store.appendEntry({QStringLiteral("b"), QStringLiteral("2"), {}, 2}).ok());
        QCOMPARE(refreshed(store), 2);

        const QString insert = QStringLiteral(
            "INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", \"رديف\", client_key) VALUES (?, ?, "
            "?, ?, ?) ON CONFLICT (client_key) DO NOTHING");
        const QVariantList values{QStringLiteral("c"), QStringLiteral("3"), QString(), 3,
                                  QStringLiteral("6f1c1bde-8a1c-4f26-9d7e-2b1f0c3a5e77")};
        QVERIFY(server->scalar(database, insert, values).isValid());
        QVERIFY(server->scalar(database, insert, values).isValid());
        QCOMPARE(refreshed(store), 3);
        QCOMPARE(server->scalar(database, QStringLiteral("SELECT count(*) FROM test")).toInt(), 3);
    }
};

QTEST_GUILESS_MAIN(TestServer_)
#include "tst_server.moc"
