// The command line over a phone book on a server, as a script runs it: the
// built program, the server named three ways, server-init and server-push,
// backup and restore refused, and a password never shown.
#include "store/databasecreation.h"
#include "support/testserver.h"
#include "words/causewords.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace dialvault;

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

const QString database = QStringLiteral("tst_servercommands");

const char card[] = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ali Rezaei\r\nTEL:+98 912 000 1111\r\n"
                    "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:کامران\r\nTEL:021 555\r\n"
                    "NOTE:همکار\r\nEND:VCARD\r\n";

} // namespace

class TestServerCommands : public QObject
{
    Q_OBJECT

private:
    std::optional<TestServer> server;
    std::unique_ptr<QTemporaryDir> dir;

    QString file(const QString &name) const { return dir->filePath(name); }
    QString url(const QString &user = QStringLiteral("clerk")) const
    {
        return server->url(database, user);
    }

    // The program with a scratch home (its own settings store) and data
    // folder, started.
    void start(QProcess &program, const QStringList &arguments,
               const QMap<QString, QString> &extra = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "DIALVAULT_DATA_DIR",
                                 "DIALVAULT_SERVER", "LANGUAGE", "PGPASSWORD"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("HOME"), dir->path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), file(QStringLiteral("config")));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        for (auto it = extra.cbegin(); it != extra.cend(); ++it)
            environment.insert(it.key(), it.value());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(DIALVAULT_PROGRAM),
                      QStringList{QStringLiteral("--data-dir"), file(QStringLiteral("local"))}
                          + arguments);
    }
    // Its end, waited for.
    static Run finish(QProcess &program)
    {
        Run result;
        if (!program.waitForFinished(60000))
            return result;
        result.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        result.out = QString::fromUtf8(program.readAllStandardOutput());
        result.err = QString::fromUtf8(program.readAllStandardError());
        return result;
    }
    Run run(const QStringList &arguments, const QMap<QString, QString> &extra = {})
    {
        QProcess program;
        start(program, arguments, extra);
        return finish(program);
    }

private Q_SLOTS:
    void initTestCase()
    {
        server = TestServer::find();
        if (!server)
            QSKIP("no test server: these tests run under CTest");
    }

    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("local")));
        QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("config")));
        QFile cards(file(QStringLiteral("cards.vcf")));
        QVERIFY(cards.open(QIODevice::WriteOnly));
        cards.write(card);
    }

    void serverInitMakesThenChecks()
    {
        for (const QString &statement : {QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)"),
                                         QStringLiteral("CREATE DATABASE %1")})
            QVERIFY(server->exec(QStringLiteral("postgres"), statement.arg(database)));

        const Run byClerk = run({QStringLiteral("--server"), url(), QStringLiteral("server-init")});
        QCOMPARE(byClerk.status, 1);
        QVERIFY2(byClerk.err.contains(QStringLiteral("CREATE ON SCHEMA")), qPrintable(byClerk.err));

        const QStringList init{QStringLiteral("--server"), url(QStringLiteral("postgres")),
                               QStringLiteral("server-init")};
        const Run made = run(init);
        QCOMPARE(made.status, 0);
        QVERIFY2(made.out.contains(QStringLiteral("Made: table test")), qPrintable(made.out));
        const QString grant
            = QStringLiteral("GRANT SELECT, INSERT, DELETE ON \"public\".test TO office_user;");
        QVERIFY(made.out.contains(grant));
        const Run checked = run(init);
        QCOMPARE(checked.status, 0);
        QVERIFY(checked.out.contains(QStringLiteral("nothing was changed")));
        QVERIFY(checked.out.contains(grant));
    }

    // The schema's name comes from the server and goes back to it only as a
    // value: a quote in it changes no statement.
    void serverInitWithAQuoteInTheSchema()
    {
        for (const QString &statement : {QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)"),
                                         QStringLiteral("CREATE DATABASE %1"),
                                         QStringLiteral("ALTER DATABASE %1 SET search_path = "
                                                        "\"o'brien\"")})
            QVERIFY(server->exec(QStringLiteral("postgres"), statement.arg(database)));
        QVERIFY(server->exec(database, QStringLiteral("CREATE SCHEMA \"o'brien\"")));

        const QStringList init{QStringLiteral("--server"), url(QStringLiteral("postgres")),
                               QStringLiteral("server-init")};
        const Run made = run(init);
        QVERIFY2(made.status == 0, qPrintable(made.err));
        QVERIFY(made.out.contains(QStringLiteral("ON \"o'brien\".test TO office_user;")));
        const Run checked = run(init);
        QVERIFY2(checked.out.contains(QStringLiteral("nothing was changed")),
                 qPrintable(checked.out + checked.err));
        // The count's function looks only in that schema, and counts.
        QCOMPARE(server
                     ->scalar(database,
                              QStringLiteral("SELECT array_to_string(proconfig, ';') FROM pg_proc "
                                             "WHERE proname = 'test_count_change'"))
                     .toString(),
                 QStringLiteral("search_path=\"o'brien\", pg_temp"));
        QCOMPARE(run({QStringLiteral("--server"), url(QStringLiteral("postgres")),
                      QStringLiteral("import"), file(QStringLiteral("cards.vcf"))})
                     .status,
                 0);
        QCOMPARE(
            server->scalar(database, QStringLiteral("SELECT sum(n) FROM \"o'brien\".test_count"))
                .toInt(),
            2);
    }

    // --server, else DIALVAULT_SERVER, else the setting; none: the local file.
    void contactsCommandsOnTheServer_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("option") << "option";
        QTest::newRow("environment") << "environment";
        QTest::newRow("setting") << "setting";
    }
    void contactsCommandsOnTheServer()
    {
        QFETCH(QString, how);
        QVERIFY(server->freshPhoneBook(database));
        QStringList chosen;
        QMap<QString, QString> environment;
        if (how == QLatin1String("option")) {
            chosen = {QStringLiteral("--server"), url()};
            environment.insert(QStringLiteral("DIALVAULT_SERVER"),
                               QStringLiteral("postgresql://nobody@127.0.0.1:1/x"));
        } else if (how == QLatin1String("environment")) {
            environment.insert(QStringLiteral("DIALVAULT_SERVER"), url());
        } else {
            QFile settings(file(QStringLiteral("config/Dialvault.conf")));
            QVERIFY(settings.open(QIODevice::WriteOnly));
            settings.write(QStringLiteral("[General]\nserver=%1\n").arg(url()).toUtf8());
        }
        const Run imported
            = run(chosen + QStringList{QStringLiteral("import"), file(QStringLiteral("cards.vcf"))},
                  environment);
        QCOMPARE(imported.status, 0);
        QCOMPARE(imported.out,
                 QStringLiteral("2 added, 0 duplicates skipped, 0 without name or number\n"));
        const Run found = run(chosen + QStringList{QStringLiteral("find"), QStringLiteral("0912")},
                              environment);
        QCOMPARE(found.status, 0);
        QCOMPARE(found.out, QStringLiteral("Ali Rezaei\t+98 912 000 1111\t\n"));
        const Run exported
            = run(chosen + QStringList{QStringLiteral("export"), file(QStringLiteral("all.csv"))},
                  environment);
        QCOMPARE(exported.status, 0);
        QFile csv(file(QStringLiteral("all.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(
            QString::fromUtf8(csv.readAll()).contains(QStringLiteral("کامران,021 555,همکار,2")));
        // Nothing went into the local phone book.
        QVERIFY(!QFile::exists(file(QStringLiteral("local/db1.mdb"))));
        const Run where = run(chosen + QStringList{QStringLiteral("where")}, environment);
        QVERIFY(where.out.startsWith(QStringLiteral("phone book: server clerk@127.0.0.1:")));
    }

    void serverPushCopiesTheLocalPhoneBook()
    {
        QVERIFY(server->freshPhoneBook(database));
        QVERIFY(createDatabaseIfMissing(file(QStringLiteral("local/db1.mdb"))).value);
        const Run local = run({QStringLiteral("import"), file(QStringLiteral("cards.vcf"))});
        QCOMPARE(local.status, 0);
        const QStringList push{QStringLiteral("--server"), url(), QStringLiteral("server-push")};
        const Run pushed = run(push);
        QCOMPARE(pushed.status, 0);
        QCOMPARE(pushed.out,
                 QStringLiteral("2 added, 0 duplicates skipped, 0 without name or number\n"));
        QCOMPARE(run(push).out,
                 QStringLiteral("0 added, 2 duplicates skipped, 0 without name or number\n"));
        QCOMPARE(server->scalar(database, QStringLiteral("SELECT sum(n) FROM test_count")).toInt(),
                 2);
    }

    void backupAndRestoreRefuseOnAServer()
    {
        for (const QStringList &command :
             {QStringList{QStringLiteral("backup")},
              QStringList{QStringLiteral("restore"), file(QStringLiteral("cards.vcf"))}}) {
            const Run refused = run(QStringList{QStringLiteral("--server"), url()} + command);
            QCOMPARE(refused.status, 1);
            QVERIFY2(refused.err.contains(QStringLiteral("pg_dump")), qPrintable(refused.err));
        }
        QVERIFY(!QDir(file(QStringLiteral("local/backups"))).exists());
    }

    void passwordIsNeverShown()
    {
        const QString secret = QStringLiteral("hunter2");
        const QString withPassword
            = QStringLiteral("postgresql://clerk:%1@127.0.0.1:1/x").arg(secret);
        for (const QString &command : {QStringLiteral("find"), QStringLiteral("where"),
                                       QStringLiteral("backup"), QStringLiteral("server-init")}) {
            QStringList arguments{QStringLiteral("--server"), withPassword, command};
            if (command == QLatin1String("find"))
                arguments << QStringLiteral("a");
            const Run said = run(arguments);
            QVERIFY2(!said.out.contains(secret) && !said.err.contains(secret), qPrintable(command));
            QVERIFY(said.out.contains(QStringLiteral("127.0.0.1"))
                    || said.err.contains(QStringLiteral("127.0.0.1")));
        }
    }

    // A server that takes no more connections says so, not that it is away.
    void fullServerIsToldSo()
    {
        QVERIFY(server->freshPhoneBook(database));
        QVERIFY(server->exec(QStringLiteral("postgres"),
                             QStringLiteral("ALTER DATABASE %1 CONNECTION LIMIT 0").arg(database)));
        const Run refused
            = run({QStringLiteral("--server"), url(), QStringLiteral("find"), QStringLiteral("a")},
                  {{QStringLiteral("LC_ALL"), QStringLiteral("fa_IR.UTF-8")}});
        QVERIFY(
            server->exec(QStringLiteral("postgres"),
                         QStringLiteral("ALTER DATABASE %1 CONNECTION LIMIT -1").arg(database)));
        QCOMPARE(refused.status, 2);
        QVERIFY2(refused.err.contains(causeWords(FailureCause::ServerFull)),
                 qPrintable(refused.err));
    }

    void personWithoutRightsIsToldWhichInPersian()
    {
        QVERIFY(server->freshPhoneBook(database));
        const Run refused = run({QStringLiteral("--server"), url(QStringLiteral("stranger")),
                                 QStringLiteral("find"), QStringLiteral("a")},
                                {{QStringLiteral("LC_ALL"), QStringLiteral("fa_IR.UTF-8")}});
        QCOMPARE(refused.status, 2);
        QVERIFY2(refused.err.contains(errorWords(
                     {0, {}, FailureCause::PermissionDenied, QStringLiteral("SELECT ON test")})),
                 qPrintable(refused.err));
    }
    // An import waiting on a server that then stops: its deadline ends it,
    // the person is told, nothing of it is stored, and once the server goes
    // on the same import succeeds.
    void stoppedServerDuringImport()
    {
        const std::optional<TestServer> faults = TestServer::find("faults");
        if (!faults)
            QSKIP("no server for faults: these tests run under CTest");
        QVERIFY(faults->freshPhoneBook(database));
        const QString url = faults->url(database, QStringLiteral("clerk"));
        {
            // Another person's work holds the table, so that the import is
            // under way on the server when it stops.
            QSqlDatabase holder
                = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("holder"));
            holder.setHostName(QStringLiteral("127.0.0.1"));
            holder.setPort(faults->port());
            holder.setUserName(QStringLiteral("postgres"));
            holder.setDatabaseName(database);
            QVERIFY(holder.open());
            QSqlQuery hold(holder);
            QVERIFY(hold.exec(QStringLiteral("BEGIN")));
            QVERIFY(hold.exec(QStringLiteral("LOCK TABLE test IN EXCLUSIVE MODE")));

            QProcess program;
            start(program,
                  {QStringLiteral("--server"), url, QStringLiteral("--timeout"),
                   QStringLiteral("2"), QStringLiteral("import"),
                   file(QStringLiteral("cards.vcf"))},
                  {{QStringLiteral("LC_ALL"), QStringLiteral("fa_IR.UTF-8")}});
            QVERIFY(QTest::qWaitFor(
                [&] {
                    return faults
                               ->scalar(database,
                                        QStringLiteral("SELECT count(*) FROM pg_stat_activity "
                                                       "WHERE usename = 'clerk' AND "
                                                       "wait_event_type = 'Lock'"))
                               .toInt()
                        == 1;
                },
                20000));
            QVERIFY(faults->pause());
            auto resume = qScopeGuard([&faults] { faults->resume(); });
            QElapsedTimer clock;
            clock.start();
            const Run stopped = finish(program);
            QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
            QVERIFY(faults->resume());
            resume.dismiss();
            QCOMPARE(stopped.status, 1);
            // Its last batch and its commit went in one round trip: whether
            // it was stored is not known until the server answers again.
            StoreError unanswered{0, {}, FailureCause::OutcomeUnknown};
            unanswered.lostBy = FailureCause::ServerBusy;
            QVERIFY2(stopped.err.contains(errorWords(unanswered)), qPrintable(stopped.err));
            QCOMPARE(stopped.out, QString());
            QVERIFY(hold.exec(QStringLiteral("ROLLBACK")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        QCOMPARE(faults->scalar(database, QStringLiteral("SELECT count(*) FROM test")).toInt(), 0);
        const Run again = run({QStringLiteral("--server"), url, QStringLiteral("import"),
                               file(QStringLiteral("cards.vcf"))});
        QCOMPARE(again.status, 0);
        QCOMPARE(again.out,
                 QStringLiteral("2 added, 0 duplicates skipped, 0 without name or number\n"));
    }
};

QTEST_GUILESS_MAIN(TestServerCommands)
#include "tst_servercommands.moc"
