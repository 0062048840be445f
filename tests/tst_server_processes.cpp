// The phone book on a server used by many programs at once: writers adding
// and deleting, people deleting the same name at the same moment, the server
// killed while writers run, and commits whose answer is lost. Each program is
// this test itself, run again as a child chosen by its first argument.
#include "store/contactstore.h"
#include "store/phonebook.h"
#include "support/testserver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

using namespace dialvault;

namespace {

const QString writerMode = QStringLiteral("--child-writer");
const QString deleterMode = QStringLiteral("--child-deleter");
const QString crashWriterMode = QStringLiteral("--child-crash-writer");
const QString importerMode = QStringLiteral("--child-importer");

void say(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

// Every entry's number and note follow from its name, so a half-written
// entry would show.
ContactEntry entryNamed(const QString &name, double rowNumber)
{
    return {name, QStringLiteral("p-") + name, QStringLiteral("n-") + name, rowNumber};
}

// Adds `count` entries as the main window does (refresh, then add), and
// deletes every `deleteEvery`-th one again.
int writer(const QString &url, const QString &tag, int count, int deleteEvery)
{
    ContactStore store(PhoneBookSource::server(url));
    for (int i = 0; i < count; ++i) {
        const QString name = tag + QString::number(i);
        const bool opened = store.open().ok();
        const Result<qint32> shown = store.countEntries();
        if (!opened || !shown.ok() || !store.appendEntry(entryNamed(name, shown.value + 1)).ok())
            return 1;
        if (i % deleteEvery == 0
            && (!store.queryByName(name).ok() || !store.deleteFirstMatch().ok()))
            return 2;
    }
    return 0;
}

// Connects, says so, waits for `start` to appear, then deletes `name` once.
int deleter(const QString &url, const QString &name, const QString &start)
{
    ContactStore store(PhoneBookSource::server(url));
    if (!store.open().ok() || !store.countEntries().ok())
        return 1;
    say(QStringLiteral("ready"));
    while (!QFile::exists(start))
        QThread::usleep(200);
    Status deleted = store.queryByName(name);
    if (deleted.ok())
        deleted = store.deleteFirstMatch();
    say(deleted.ok() ? QStringLiteral("deleted")
            : deleted.error.cause == FailureCause::NotFound
            ? QStringLiteral("notfound")
            : QStringLiteral("failed ") + deleted.error.description);
    return 0;
}

// Adds entries until `seconds` are over, as a person would through a server
// that goes away and comes back: an add of unknown outcome is made again
// with the same entry, unless it is told meanwhile that it was stored.
int crashWriter(const QString &url, const QString &tag, int seconds)
{
    ContactStore store(PhoneBookSource::server(url));
    const QDeadlineTimer deadline(seconds * 1000);
    int next = 0;
    while (!deadline.hasExpired()) {
        const QString name = tag + QString::number(next);
        const Status opened = store.open();
        bool told = false;
        for (const SettledAdd &settled : store.settledAdds()) {
            say(QStringLiteral("settled ") + settled.entry.name);
            told = told || settled.entry.name == name;
        }
        if (told) {
            ++next;
            continue;
        }
        const Result<qint32> shown = opened.ok() ? store.countEntries() : Result<qint32>{opened};
        Status added = shown;
        if (shown.ok())
            added = store.appendEntry(entryNamed(name, shown.value + 1));
        if (added.ok()) {
            say(QStringLiteral("stored ") + name);
            ++next;
        } else {
            say((added.error.cause == FailureCause::OutcomeUnknown ? QStringLiteral("unknown ")
                                                                   : QStringLiteral("failed "))
                + name);
            QThread::msleep(50);
        }
    }
    return 0;
}

// Imports `count` entries of its own and as many that every importer
// shares, in one import; says what it added and skipped.
int importer(const QString &url, const QString &tag, int count)
{
    QList<ContactEntry> entries;
    for (int i = 0; i < count; ++i) {
        entries.append(entryNamed(tag + QString::number(i), 0));
        entries.append(entryNamed(QStringLiteral("shared") + QString::number(i), 0));
    }
    PhoneBook book(PhoneBookSource::server(url));
    if (!book.open().ok())
        return 1;
    const Result<ImportCounts> imported = book.importEntries(entries);
    if (!imported.ok()) {
        say(QStringLiteral("failed ") + imported.error.description);
        return 2;
    }
    say(QStringLiteral("%1 %2").arg(imported.value.added).arg(imported.value.duplicates));
    return 0;
}

int runChild(const QStringList &args)
{
    if (args.at(1) == importerMode && args.size() == 5)
        return importer(args.at(2), args.at(3), args.at(4).toInt());
    if (args.at(1) == writerMode && args.size() == 6)
        return writer(args.at(2), args.at(3), args.at(4).toInt(), args.at(5).toInt());
    if (args.at(1) == deleterMode && args.size() == 5)
        return deleter(args.at(2), args.at(3), args.at(4));
    if (args.at(1) == crashWriterMode && args.size() == 5)
        return crashWriter(args.at(2), args.at(3), args.at(4).toInt());
    return 3;
}

std::unique_ptr<QProcess> child(const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QCoreApplication::applicationFilePath(), arguments);
    return process;
}

QStringList outputLines(QProcess &process)
{
    return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

const QString exactCount
    = QStringLiteral("SELECT (SELECT count(*) FROM test) = (SELECT sum(n) FROM "
                     "test_count)");

} // namespace

class TestServerProcesses : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writersAtOnceLoseNothing();
    void importsAtOnceStoreEachPersonOnce();
    void peopleDeletingOneNameAtOnce_data();
    void peopleDeletingOneNameAtOnce();
    void killedServerKeepsWhatItConfirmed();
    void commitWhoseAnswerIsLost_data();
    void commitWhoseAnswerIsLost();
};

void TestServerProcesses::writersAtOnceLoseNothing()
{
    const std::optional<TestServer> server = TestServer::find();
    if (!server)
        QSKIP("no test server: these tests run under CTest");
    const QString database = QStringLiteral("tst_server_writers");
    QVERIFY(server->freshPhoneBook(database));
    const int writers = 6;
    const int each = 60;
    const int deleteEvery = 4;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int w = 0; w < writers; ++w)
        running.push_back(child({writerMode, server->url(database, QStringLiteral("clerk")),
                                 QStringLiteral("w%1-").arg(w), QString::number(each),
                                 QString::number(deleteEvery)}));
    for (auto &process : running) {
        QVERIFY(process->waitForFinished(60000));
        QCOMPARE(process->exitCode(), 0);
    }
    const int kept = writers * (each - (each + deleteEvery - 1) / deleteEvery);
    QCOMPARE(server->scalar(database, QStringLiteral("SELECT count(DISTINCT \"نام\") FROM test"))
                 .toInt(),
             kept);
    QVERIFY(server->scalar(database, exactCount).toBool());
    ContactStore store(PhoneBookSource::server(server->url(database)));
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, kept);
}

// Long imports side by side all succeed; the people they share are stored
// once, by one of them, and the count stays exact.
void TestServerProcesses::importsAtOnceStoreEachPersonOnce()
{
    const std::optional<TestServer> server = TestServer::find();
    if (!server)
        QSKIP("no test server: these tests run under CTest");
    const QString database = QStringLiteral("tst_server_importers");
    QVERIFY(server->freshPhoneBook(database));
    const int importers = 3;
    const int each = 3000;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int i = 0; i < importers; ++i)
        running.push_back(child({importerMode, server->url(database, QStringLiteral("clerk")),
                                 QStringLiteral("i%1-").arg(i), QString::number(each)}));
    qint64 added = 0;
    qint64 skipped = 0;
    for (auto &process : running) {
        QVERIFY(process->waitForFinished(60000));
        const QStringList said = outputLines(*process);
        QVERIFY2(process->exitCode() == 0, qPrintable(said.join(u' ')));
        QCOMPARE(said.size(), 1);
        added += said.first().section(u' ', 0, 0).toLongLong();
        skipped += said.first().section(u' ', 1, 1).toLongLong();
    }
    QCOMPARE(added, importers * each + each);
    QCOMPARE(skipped, (importers - 1) * each);
    QCOMPARE(server->scalar(database, QStringLiteral("SELECT count(DISTINCT \"نام\") FROM test"))
                 .toInt(),
             importers * each + each);
    QVERIFY(server->scalar(database, exactCount).toBool());
}

void TestServerProcesses::peopleDeletingOneNameAtOnce_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("people");
    QTest::newRow("more people than entries") << 3 << 6;
    QTest::newRow("as many people as entries") << 4 << 4;
}

// Each person deletes one entry or is told that none is left: never the same
// entry twice, never an entry of another name.
void TestServerProcesses::peopleDeletingOneNameAtOnce()
{
    QFETCH(int, entries);
    QFETCH(int, people);
    const std::optional<TestServer> server = TestServer::find();
    if (!server)
        QSKIP("no test server: these tests run under CTest");
    const QString database = QStringLiteral("tst_server_deleters");
    QVERIFY(server->freshPhoneBook(database));
    const QString name = QStringLiteral("هم‌نام");
    ContactStore store(PhoneBookSource::server(server->url(database)));
    QVERIFY(store.open().ok());
    for (int i = 0; i < entries; ++i) {
        for (const QString &each : {name, name + u' ', QStringLiteral("همنام")})
            QVERIFY(store.open().ok() && store.appendEntry(entryNamed(each, i)).ok());
    }

    QTemporaryDir dir;
    const QString start = dir.filePath(QStringLiteral("start"));
    std::vector<std::unique_ptr<QProcess>> running;
    for (int p = 0; p < people; ++p)
        running.push_back(
            child({deleterMode, server->url(database, QStringLiteral("clerk")), name, start}));
    for (auto &process : running) {
        QVERIFY(process->waitForStarted());
        while (!process->canReadLine() && process->state() == QProcess::Running)
            process->waitForReadyRead(10000);
        QCOMPARE(process->readLine(), QByteArray("ready\n"));
    }
    QFile(start).open(QIODevice::WriteOnly);
    QStringList outcomes;
    for (auto &process : running) {
        QVERIFY(process->waitForFinished(30000));
        outcomes += outputLines(*process);
    }
    QCOMPARE(outcomes.count(QStringLiteral("deleted")), entries);
    QCOMPARE(outcomes.count(QStringLiteral("notfound")), people - entries);
    QCOMPARE(server
                 ->scalar(database, QStringLiteral("SELECT count(*) FROM test WHERE \"نام\" = ?"),
                          {name})
                 .toInt(),
             0);
    QCOMPARE(server->scalar(database, QStringLiteral("SELECT count(*) FROM test")).toInt(),
             2 * entries);
    QVERIFY(server->scalar(database, exactCount).toBool());
}

// Writers run while the server is killed and started again: every add that
// was confirmed is there once, every entry there is whole and was confirmed
// or said to be of unknown outcome, and every writer saw the failure and
// finished on time.
void TestServerProcesses::killedServerKeepsWhatItConfirmed()
{
    const std::optional<TestServer> server = TestServer::find("faults");
    if (!server)
        QSKIP("no test server: these tests run under CTest");
    const QString database = QStringLiteral("tst_server_crash");
    QVERIFY(server->freshPhoneBook(database));
    const int writers = 4;
    const int seconds = 7;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int w = 0; w < writers; ++w)
        running.push_back(child({crashWriterMode, server->url(database, QStringLiteral("clerk")),
                                 QStringLiteral("c%1-").arg(w), QString::number(seconds)}));
    QTest::qWait(1500);
    QVERIFY(server->kill());
    QTest::qWait(1000);
    QVERIFY(server->start());

    QSet<QString> confirmed;
    QSet<QString> unknown;
    for (auto &process : running) {
        QVERIFY2(process->waitForFinished((seconds + 30) * 1000), "a writer hangs");
        QCOMPARE(process->exitCode(), 0);
        int failures = 0;
        for (const QString &line : outputLines(*process)) {
            const QString name = line.section(u' ', 1);
            if (line.startsWith(QLatin1String("stored "))
                || line.startsWith(QLatin1String("settled ")))
                confirmed.insert(name);
            else
                ++failures;
            if (line.startsWith(QLatin1String("unknown ")))
                unknown.insert(name);
        }
        QVERIFY2(failures > 0, "a writer did not see the server go");
    }
    QVERIFY(confirmed.size() > writers);
    qInfo("%lld adds confirmed, %lld of unknown outcome", qint64(confirmed.size()),
          qint64(unknown.size()));

    QMap<QString, int> present;
    const int rows = server->scalar(database, QStringLiteral("SELECT count(*) FROM test")).toInt();
    const QString wholeRows = QStringLiteral("SELECT count(*) FROM test WHERE \"تلفن\" = 'p-' || "
                                             "\"نام\" AND \"يادداشت\" = 'n-' || \"نام\"");
    QCOMPARE(server->scalar(database, wholeRows).toInt(), rows);
    const QString namesSql = QStringLiteral("SELECT string_agg(\"نام\", E'\\n') FROM test");
    for (const QString &name :
         server->scalar(database, namesSql).toString().split(u'\n', Qt::SkipEmptyParts))
        ++present[name];
    for (const QString &name : confirmed)
        QVERIFY2(present.value(name) == 1, qPrintable(name + QStringLiteral(" is not there once")));
    for (auto it = present.cbegin(); it != present.cend(); ++it) {
        QVERIFY2(it.value() == 1, qPrintable(it.key() + QStringLiteral(" is there twice")));
        QVERIFY2(confirmed.contains(it.key()) || unknown.contains(it.key()),
                 qPrintable(it.key() + QStringLiteral(" was never confirmed")));
    }
    QVERIFY(server->scalar(database, exactCount).toBool());
}

void TestServerProcesses::commitWhoseAnswerIsLost_data()
{
    QTest::addColumn<bool>("serverGone");
    QTest::newRow("connection ended") << false;
    QTest::newRow("server killed") << true;
}

// A trigger that runs at commit holds each commit open for a while; meanwhile
// the connection is ended, or the whole server killed. An add is sent again
// under its key and stored once when a new connection can be had, else its
// outcome is unknown. An import is looked for: not stored when the server
// answers, else unknown; never stored and said not to be.
void TestServerProcesses::commitWhoseAnswerIsLost()
{
    QFETCH(bool, serverGone);
    const std::optional<TestServer> server = TestServer::find("faults");
    if (!server)
        QSKIP("no test server: these tests run under CTest");
    const QString database = QStringLiteral("tst_server_commit");
    QVERIFY(server->freshPhoneBook(database));
    QVERIFY(server->exec(
        database,
        QStringLiteral("CREATE FUNCTION slow_commit() RETURNS trigger LANGUAGE plpgsql "
                       "AS $$BEGIN PERFORM pg_sleep(0.8); RETURN NULL; END$$")));
    QVERIFY(
        server->exec(database,
                     QStringLiteral("CREATE CONSTRAINT TRIGGER slow_commit AFTER INSERT ON test "
                                    "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION "
                                    "slow_commit()")));
    const auto cutDuringCommit = [&] {
        QThread::msleep(300);
        if (serverGone)
            server->kill();
        else
            server->scalar(database,
                           QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                          "pg_stat_activity WHERE usename = 'clerk'"));
    };
    const auto rows = [&] {
        return server->scalar(database, QStringLiteral("SELECT count(*) FROM test")).toInt();
    };
    const PhoneBookSource source
        = PhoneBookSource::server(server->url(database, QStringLiteral("clerk")));

    ContactStore store(source);
    QVERIFY(store.open().ok());
    const ContactEntry entry{QStringLiteral("علی"), QStringLiteral("0912"), {}, 1};
    std::thread cut(cutDuringCommit);
    const Status added = store.appendEntry(entry);
    cut.join();
    if (serverGone) {
        QCOMPARE(added.error.cause, FailureCause::OutcomeUnknown);
        QVERIFY(server->start());
        QVERIFY(store.open().ok());
        QCOMPARE(store.settledAdds().size(), 1);
    } else {
        QVERIFY2(added.ok(), qPrintable(added.error.description));
    }
    QCOMPARE(rows(), 1);

    PhoneBook book(source);
    QVERIFY(book.open().ok());
    std::thread cutImport(cutDuringCommit);
    const Result<ImportCounts> imported
        = book.importEntries({{QStringLiteral("مريم"), QStringLiteral("021"), {}, 0},
                              {QStringLiteral("سارا"), QStringLiteral("0935"), {}, 0}});
    cutImport.join();
    QCOMPARE(imported.error.cause,
             serverGone ? FailureCause::OutcomeUnknown : FailureCause::ServerUnreachable);
    if (serverGone)
        QVERIFY(server->start());
    QThread::msleep(1000); // longer than the commit was held: nothing of it comes later
    QCOMPARE(rows(), 1);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() > 1 && args.at(1).startsWith(QStringLiteral("--child-")))
        return runChild(args);
    TestServerProcesses test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_server_processes.moc"
