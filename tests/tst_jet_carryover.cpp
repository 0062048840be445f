// Carrying a Jet db1.mdb over at start-up, and a Jet file elsewhere from the
// command line: the new phone book, the backup, the refusals, and safety
// when the program is killed at any moment. The program runs itself as the
// child process to be killed, chosen by its first argument.
#include "tst_jet_fixture.h"

#include "jet/carryover.h"
#include "jet/carryovermessage.h"
#include "jet/importjetcommand.h"
#include "jet/jetconversion.h"
#include "jet/jetreader.h"
#include "store/contactstore.h"
#include "store/databasecreation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextStream>
#include <QThread>

#include <csignal>
#include <cstdio>

#include <sys/stat.h>

using namespace dialvault;

namespace {

const QString childMode = u"--child-carry-over"_qs;
constexpr int noKill = -1;

// Carries the folder's db1.mdb over, killing itself right after step `killAt`.
int carryOverChild(const QString &folder, int killAt)
{
    const Result<CarryOver> done = carryOverJetPhoneBook(folder, [killAt](CarryOverStep step) {
        if (int(step) == killAt)
            std::raise(SIGKILL);
    });
    if (!done.ok())
        return 2;
    std::printf("%s\n", done.value.converted ? "converted" : "not converted");
    return 0;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The schema as SQLite records it, with the version the store checks.
QVariantList schemaOf(const QString &path)
{
    RawDatabase db(path);
    return db.column(u"SELECT type || ' ' || name || ' ' || ifnull(sql, '') FROM sqlite_master "
                     u"ORDER BY name"_qs)
        + db.column(u"PRAGMA user_version"_qs);
}

class Folder
{
public:
    Folder() { QVERIFY(dir.isValid()); }
    QString path() const { return dir.path(); }
    QString file(const QString &name) const { return dir.filePath(name); }
    QString database() const { return file(ContactStore::fileName()); }

private:
    QTemporaryDir dir;
};

const QString backup = u"db1-jet-backup.mdb"_qs;

} // namespace

class TestJetCarryOver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void carriesOverEveryValue_data();
    void carriesOverEveryValue();
    void leavesOtherFilesAlone_data();
    void leavesOtherFilesAlone();
    void namedPipeIsNoJetFile();
    void refusalLeavesJetFileUntouched_data();
    void refusalLeavesJetFileUntouched();
    void backupNeverReplacesAFile();
    void message();
    void killedAfterEveryStep_data();
    void killedAfterEveryStep();
    void killedAtRandomMoments();
    void twoCopiesStartingTogether();
    void writesEveryRowInOrder_data();
    void writesEveryRowInOrder();
    void commandLine_data();
    void commandLine();

private:
    // Checks the folder once the carry-over has finished: the phone book with
    // every row, the Jet file kept byte for byte under one backup name, and
    // nothing else.
    void verifyFinished(const Folder &folder, const QByteArray &jet, const QList<JetRow> &rows);
    QProcess *startChild(const Folder &folder, int killAt);
};

void TestJetCarryOver::verifyFinished(const Folder &folder, const QByteArray &jet,
                                      const QList<JetRow> &rows)
{
    QCOMPARE(filesIn(folder.path()), QStringList({backup, ContactStore::fileName()}));
    QVERIFY(fileBytes(folder.file(backup)) == jet);
    QVERIFY(sameRows(phoneBookRows(folder.database()), rows));
    ContactStore store(folder.path());
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, rows.size());
}

QProcess *TestJetCarryOver::startChild(const Folder &folder, int killAt)
{
    auto *child = new QProcess(this);
    child->start(QCoreApplication::applicationFilePath(),
                 {childMode, folder.path(), QString::number(killAt)});
    child->waitForStarted();
    return child;
}

void TestJetCarryOver::carriesOverEveryValue_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QList<JetRow>>("expected");
    QTest::newRow("basic") << u"jet4-basic.mdb"_qs << basicRows();
    QTest::newRow("NULLs beside empty texts") << u"jet4-nulls.mdb"_qs << nullRows();
    QTest::newRow("extra fields, memos") << u"jet4-extra-fields.mdb"_qs << extraFieldRows();
    QTest::newRow("empty table") << u"jet4-empty.mdb"_qs << QList<JetRow>();
}

void TestJetCarryOver::carriesOverEveryValue()
{
    QFETCH(QString, fixture);
    QFETCH(QList<JetRow>, expected);
    Folder folder;
    const QByteArray jet = fixtureBytes(fixture);
    QVERIFY(writeFile(folder.database(), jet));
    QVERIFY(QFile::setPermissions(folder.database(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                      | QFile::WriteGroup));

    const Result<CarryOver> done = carryOverJetPhoneBook(folder.path());
    QVERIFY2(done.ok(), qPrintable(done.error.description));
    QVERIFY(done.value.converted);
    QCOMPARE(done.value.entries, expected.size());
    QCOMPARE(done.value.backupName, backup);
    verifyFinished(folder, jet, expected);

    // Exactly the file the program makes, filled; whoever could write the
    // old file can write the new one.
    Folder fresh;
    QVERIFY(createDatabaseIfMissing(fresh.database()).value);
    QCOMPARE(schemaOf(folder.database()), schemaOf(fresh.database()));
    QCOMPARE(QFile::permissions(folder.database()), QFile::permissions(folder.file(backup)));

    // The next start finds our own phone book and leaves it be.
    const QByteArray converted = fileBytes(folder.database());
    const Result<CarryOver> again = carryOverJetPhoneBook(folder.path());
    QVERIFY(again.ok());
    QVERIFY(!again.value.converted);
    QVERIFY(fileBytes(folder.database()) == converted);
}

void TestJetCarryOver::leavesOtherFilesAlone_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    Folder ours;
    QVERIFY(createDatabaseIfMissing(ours.database()).value);
    QTest::newRow("no db1.mdb") << false << QByteArray();
    QTest::newRow("our own phone book") << true << fileBytes(ours.database());
    QTest::newRow("zero bytes") << true << QByteArray();
}

// Only a Jet file is carried over; anything else is for the store to open or refuse.
void TestJetCarryOver::leavesOtherFilesAlone()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    Folder folder;
    if (exists)
        QVERIFY(writeFile(folder.database(), bytes));
    const Result<CarryOver> done = carryOverJetPhoneBook(folder.path());
    QVERIFY(done.ok());
    QVERIFY(!done.value.converted);
    QCOMPARE(filesIn(folder.path()),
             exists ? QStringList{ContactStore::fileName()} : QStringList());
    QVERIFY(fileBytes(folder.database()) == bytes);
}

// Opening a named pipe for reading would wait for a writer: start-up must not.
void TestJetCarryOver::namedPipeIsNoJetFile()
{
    Folder folder;
    QCOMPARE(mkfifo(QFile::encodeName(folder.database()).constData(), 0600), 0);
    const Result<CarryOver> done = carryOverJetPhoneBook(folder.path());
    QVERIFY(done.ok());
    QVERIFY(!done.value.converted);
    const Result<QList<JetRow>> read = readJetTable(folder.database());
    QCOMPARE(read.error.cause, FailureCause::NotADatabase);
}

void TestJetCarryOver::refusalLeavesJetFileUntouched_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<FailureCause>("cause");
    const QByteArray basic = fixtureBytes(u"jet4-basic.mdb"_qs);
    QTest::newRow("no table test") << fixtureBytes(u"jet4-notable.mdb"_qs) << FailureCause::NoTable;
    QTest::newRow("cut short") << basic.left(26 * 4096) << FailureCause::Damaged;
}

void TestJetCarryOver::refusalLeavesJetFileUntouched()
{
    QFETCH(QByteArray, bytes);
    QFETCH(FailureCause, cause);
    Folder folder;
    QVERIFY(writeFile(folder.database(), bytes));
    const Result<CarryOver> done = carryOverJetPhoneBook(folder.path());
    QVERIFY(!done.ok());
    QCOMPARE(done.error.cause, cause);
    QCOMPARE(filesIn(folder.path()), QStringList{ContactStore::fileName()});
    QVERIFY(fileBytes(folder.database()) == bytes);
}

void TestJetCarryOver::backupNeverReplacesAFile()
{
    Folder folder;
    const QByteArray jet = fixtureBytes(u"jet4-basic.mdb"_qs);
    QVERIFY(writeFile(folder.database(), jet));
    QVERIFY(writeFile(folder.file(backup), "someone's own file"));
    QVERIFY(writeFile(folder.file(u"db1-jet-backup-2.mdb"_qs), jet.left(4096)));
    const Result<CarryOver> done = carryOverJetPhoneBook(folder.path());
    QVERIFY(done.ok());
    QCOMPARE(done.value.backupName, u"db1-jet-backup-3.mdb"_qs);
    QVERIFY(fileBytes(folder.file(u"db1-jet-backup-3.mdb"_qs)) == jet);
    QCOMPARE(fileBytes(folder.file(backup)), QByteArray("someone's own file"));
    QVERIFY(fileBytes(folder.file(u"db1-jet-backup-2.mdb"_qs)) == jet.left(4096));
    QCOMPARE(filesIn(folder.path()).size(), 4);
}

void TestJetCarryOver::message()
{
    QCOMPARE(carriedOverMessage({true, 20305, u"db1-jet-backup-2.mdb"_qs}),
             u"۲۰۳۰۵ شماره از پرونده قديمي به دفترچه منتقل شد. پرونده قديمي با نام "
             u"«db1-jet-backup-2.mdb» نگه داشته شد."_qs);
}

void TestJetCarryOver::killedAfterEveryStep_data()
{
    QTest::addColumn<int>("step");
    QTest::newRow("locked") << int(CarryOverStep::Locked);
    QTest::newRow("read") << int(CarryOverStep::Read);
    QTest::newRow("built") << int(CarryOverStep::Built);
    QTest::newRow("backed up") << int(CarryOverStep::BackedUp);
    QTest::newRow("swapped") << int(CarryOverStep::Swapped);
}

// Killed after any step, the program leaves the untouched Jet file or the
// finished phone book; its next start finishes the work, with one backup.
void TestJetCarryOver::killedAfterEveryStep()
{
    QFETCH(int, step);
    Folder folder;
    const QByteArray jet = fixtureBytes(u"jet4-extra-fields.mdb"_qs);
    QVERIFY(writeFile(folder.database(), jet));
    // Twice, so that a second interrupted run meets the first one's remains.
    for (int run = 0; run < 2 && step != int(CarryOverStep::Swapped); ++run) {
        QProcess *child = startChild(folder, step);
        QVERIFY(child->waitForFinished(60000));
        QCOMPARE(child->exitStatus(), QProcess::CrashExit);
        QVERIFY(fileBytes(folder.database()) == jet);
    }
    if (step == int(CarryOverStep::Swapped)) {
        QProcess *child = startChild(folder, step);
        QVERIFY(child->waitForFinished(60000));
        verifyFinished(folder, jet, extraFieldRows());
    }
    const Result<CarryOver> next = carryOverJetPhoneBook(folder.path());
    QVERIFY2(next.ok(), qPrintable(next.error.description));
    QCOMPARE(next.value.converted, step != int(CarryOverStep::Swapped));
    verifyFinished(folder, jet, extraFieldRows());
}

// SIGKILL at moments spread over the whole carry-over of 20,000 entries:
// every time the folder holds the untouched Jet file or the finished phone
// book, and the next start finishes the work.
void TestJetCarryOver::killedAtRandomMoments()
{
    const QByteArray jet = fixtureBytes(u"jet4-large.mdb"_qs);
    const QList<JetRow> rows = largeRows();
    qint64 duration = 0;
    {
        Folder timing;
        QVERIFY(writeFile(timing.database(), jet));
        QElapsedTimer timer;
        timer.start();
        QProcess *child = startChild(timing, noKill);
        QVERIFY(child->waitForFinished(120000));
        duration = timer.elapsed();
        QCOMPARE(child->exitCode(), 0);
    }
    QRandomGenerator random(7);
    constexpr int rounds = 10;
    int interrupted = 0;
    for (int round = 0; round < rounds; ++round) {
        Folder folder;
        QVERIFY(writeFile(folder.database(), jet));
        QProcess *child = startChild(folder, noKill);
        QThread::usleep(ulong(1000 * duration * (round + random.generateDouble()) / rounds));
        child->kill();
        QVERIFY(child->waitForFinished(60000));
        if (fileBytes(folder.database()) == jet)
            ++interrupted;
        else
            QVERIFY(sameRows(phoneBookRows(folder.database()), rows));
        const Result<CarryOver> next = carryOverJetPhoneBook(folder.path());
        QVERIFY2(next.ok(), qPrintable(next.error.description));
        verifyFinished(folder, jet, rows);
    }
    QVERIFY(interrupted > 0);
}

void TestJetCarryOver::twoCopiesStartingTogether()
{
    Folder folder;
    const QByteArray jet = fixtureBytes(u"jet4-large.mdb"_qs);
    QVERIFY(writeFile(folder.database(), jet));
    QProcess *first = startChild(folder, noKill);
    QProcess *second = startChild(folder, noKill);
    QVERIFY(first->waitForFinished(120000));
    QVERIFY(second->waitForFinished(120000));
    QCOMPARE(first->exitCode(), 0);
    QCOMPARE(second->exitCode(), 0);
    const QByteArray said = first->readAllStandardOutput() + second->readAllStandardOutput();
    QCOMPARE(said.count("not converted"), 1);
    verifyFinished(folder, jet, largeRows());
}

void TestJetCarryOver::writesEveryRowInOrder_data()
{
    QTest::addColumn<int>("count");
    // Rows are written many to a statement; the counts straddle a statement's worth.
    for (const int count : {1, 49, 50, 51, 123})
        QTest::newRow(qPrintable(QString::number(count))) << count;
}

void TestJetCarryOver::writesEveryRowInOrder()
{
    QFETCH(int, count);
    QList<JetRow> rows;
    for (int i = 0; i < count; ++i)
        rows.append(jetRow(i % 7 == 3 ? QString() : u"نام %1"_qs.arg(i),
                           i % 5 == 1 ? u""_qs : u"تلفن %1"_qs.arg(i),
                           i % 3 == 2 ? QString() : u"يادداشت %1"_qs.arg(i),
                           i % 4 == 0 ? std::nullopt : std::optional(i + 0.5)));
    Folder folder;
    const QString path = folder.file(u"new.mdb"_qs);
    QVERIFY(writeNewPhoneBook(path, rows).ok());
    QVERIFY(sameRows(phoneBookRows(path), rows));
    QCOMPARE(RawDatabase(path).scalar(u"SELECT n FROM test_count"_qs).toInt(), count);
}

void TestJetCarryOver::commandLine_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<bool>("newExists");
    QTest::addColumn<bool>("newFolderExists");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("told");
    const QByteArray basic = fixtureBytes(u"jet4-basic.mdb"_qs);
    QTest::newRow("converted") << basic << false << true << int(ImportJetDone)
                               << u"Carried over 8 entries from "_qs;
    QTest::newRow("no table test") << fixtureBytes(u"jet4-notable.mdb"_qs) << false << true
                                   << int(ImportJetRefused) << u"has no table test"_qs;
    QTest::newRow("not a database") << fixtureBytes(u"not-a-database.mdb"_qs) << false << true
                                    << int(ImportJetRefused) << u"not a Jet database"_qs;
    QTest::newRow("damaged") << basic.left(26 * 4096) << false << true << int(ImportJetRefused)
                             << u"only 0 of the 8 rows"_qs;
    QTest::newRow("old file missing")
        << QByteArray() << false << true << int(ImportJetRefused) << u"cannot read"_qs;
    QTest::newRow("new file exists")
        << basic << true << true << int(ImportJetNotWritten) << u"already exists"_qs;
    QTest::newRow("new folder missing")
        << basic << false << false << int(ImportJetNotWritten) << u"cannot create"_qs;
}

// One line on the right stream, the exit status, and a new file only when
// the conversion is complete, never over an existing one.
void TestJetCarryOver::commandLine()
{
    QFETCH(QByteArray, old);
    QFETCH(bool, newExists);
    QFETCH(bool, newFolderExists);
    QFETCH(int, exitStatus);
    QFETCH(QString, told);
    Folder folder;
    const QString oldPath = folder.file(u"old.mdb"_qs);
    if (!old.isEmpty())
        QVERIFY(writeFile(oldPath, old));
    const QString newFolder = newFolderExists ? folder.path() : folder.file(u"missing"_qs);
    const QString newPath = QDir(newFolder).filePath(u"new.mdb"_qs);
    if (newExists)
        QVERIFY(writeFile(newPath, "kept"));
    const QStringList before = filesIn(folder.path());

    QString outText;
    QString errText;
    QTextStream out(&outText);
    QTextStream err(&errText);
    QCOMPARE(importJetCommand(oldPath, newPath, out, err), exitStatus);
    QCOMPARE(fileBytes(oldPath), old);
    const bool done = exitStatus == ImportJetDone;
    QVERIFY2((done ? outText : errText).contains(told), qPrintable(outText + errText));
    QCOMPARE((done ? outText : errText).count(u'\n'), 1);
    QVERIFY((done ? errText : outText).isEmpty());
    if (done) {
        QVERIFY(sameRows(phoneBookRows(newPath), basicRows()));
        QCOMPARE(filesIn(folder.path()), QStringList({u"new.mdb"_qs, u"old.mdb"_qs}));
    } else {
        QCOMPARE(filesIn(folder.path()), before);
        QCOMPARE(fileBytes(newPath), newExists ? QByteArray("kept") : QByteArray());
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == childMode)
        return carryOverChild(args.at(2), args.at(3).toInt());
    TestJetCarryOver test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_jet_carryover.moc"
