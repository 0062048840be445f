// The store under other processes: an add confirmed just before the program
// is killed, and two running copies adding to one file at the same moment.
// The program runs itself as the child process, chosen by its first argument.
#include "tst_store_fixture.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>

#include <cstdio>

using namespace dialvault;

namespace {

const QString addAndWaitMode = QStringLiteral("--child-add-and-wait");
const QString addManyMode = QStringLiteral("--child-add-many");
const QByteArray storedLine = "stored\n";

// Adds one entry, says so once appendEntry has returned success, then waits to be killed.
int addAndWait(const QString &folder, const QString &name)
{
    ContactStore store(folder);
    const Status opened = store.open();
    const Result<qint32> count = store.countEntries();
    if (!opened.ok() || !count.ok()
        || !store
                .appendEntry(
                    {name, QStringLiteral("0912"), QStringLiteral("note"), count.value + 1.0})
                .ok())
        return 1;
    std::fputs(storedLine.constData(), stdout);
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
}

// Adds `total` entries the way the main window does: append, then refresh.
int addMany(const QString &folder, const QString &tag, int total)
{
    ContactStore store(folder);
    if (!store.open().ok())
        return 1;
    for (int i = 0; i < total; ++i) {
        const Result<qint32> count = store.countEntries();
        const ContactEntry entry{tag + QString::number(i), QStringLiteral("1"), QString(),
                                 count.value + 1.0};
        if (!count.ok() || !store.appendEntry(entry).ok() || !store.open().ok())
            return 2;
    }
    return 0;
}

int runChild(const QStringList &args)
{
    if (args.at(1) == addAndWaitMode && args.size() == 4)
        return addAndWait(args.at(2), args.at(3));
    if (args.at(1) == addManyMode && args.size() == 5)
        return addMany(args.at(2), args.at(3), args.at(4).toInt());
    return 3;
}

} // namespace

class TestStoreProcesses : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void confirmedAddSurvivesKill();
    void twoProgramsAddingLoseNothing();
};

void TestStoreProcesses::confirmedAddSurvivesKill()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    for (int round = 0; round < 3; ++round) {
        const QString name = QStringLiteral("کشته %1").arg(round);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {addAndWaitMode, folder.folder(), name});
        QVERIFY(child.waitForStarted());
        while (!child.canReadLine() && child.state() == QProcess::Running)
            child.waitForReadyRead(10000);
        QCOMPARE(child.readLine(), storedLine);
        child.kill();
        QVERIFY(child.waitForFinished());

        ContactStore store(folder.folder());
        QVERIFY(store.open().ok());
        QCOMPARE(store.countEntries().value, round + 1);
        QVERIFY(store.queryByName(name).ok());
        QCOMPARE(store.readFirstMatch().value.phone, QStringLiteral("0912"));
    }
    RawDatabase raw(folder.databasePath());
    QCOMPARE(raw.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

void TestStoreProcesses::twoProgramsAddingLoseNothing()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    const int each = 100;
    QProcess first;
    QProcess second;
    first.start(QCoreApplication::applicationFilePath(),
                {addManyMode, folder.folder(), QStringLiteral("a"), QString::number(each)});
    second.start(QCoreApplication::applicationFilePath(),
                 {addManyMode, folder.folder(), QStringLiteral("b"), QString::number(each)});
    QVERIFY(first.waitForFinished(120000));
    QVERIFY(second.waitForFinished(120000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);

    ContactStore store(folder.folder());
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, 2 * each);
    RawDatabase raw(folder.databasePath());
    QCOMPARE(raw.scalar(QStringLiteral("SELECT COUNT(DISTINCT \"نام\") FROM test")).toInt(),
             2 * each);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() > 1 && args.at(1).startsWith(QStringLiteral("--child-")))
        return runChild(args);
    TestStoreProcesses test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_store_processes.moc"
