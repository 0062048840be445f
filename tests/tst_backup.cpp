// Backups of the phone book: once a day, the last 14 days kept, made beside
// a program that goes on writing; a failure told once a day; restore
// refusing what is no phone book and swapping a good one in; the commands.
#include "cli/commands.h"
#include "main/dailybackupstart.h"
#include "place/backgroundbackup.h"
#include "place/backups.h"
#include "place/databasecopy.h"
#include "place/restore.h"
#include "store/contactstore.h"
#include "store/databasecheck.h"
#include "store/storeschema.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "tst_durablesteps.h"
#include "words/causewords.h"
#include "words/interfacelanguage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using namespace dialvault;

namespace {

const QDateTime morning(QDate(2026, 12, 7), QTime(9, 0));

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Every row of table `test`, one text each, in storage order.
QStringList rowsOf(const QString &path)
{
    QStringList rows;
    for (const StoredRow &row : storedRows(path))
        rows.append(
            QStringList{row.name, row.phone, row.note, QString::number(row.rowNumber)}.join(u'|'));
    return rows;
}

void addEntries(const QString &database, int from, int count)
{
    RawDatabase db(database);
    db.exec(QStringLiteral("BEGIN"));
    for (int i = from; i < from + count; ++i)
        db.insert(QStringLiteral("نام %1").arg(i), QString::number(9120000000LL + i),
                  QStringLiteral("يادداشت"), i);
    db.exec(QStringLiteral("COMMIT"));
}

// The count the triggers keep agrees with the rows: a copy of one moment.
void verifyWhole(const QString &path)
{
    QVERIFY(checkPhoneBook(path).ok());
    RawDatabase db(path);
    QCOMPARE(db.scalar(QStringLiteral("SELECT n FROM ") + StoreSchema::countTable).toInt(),
             db.scalar(QStringLiteral("SELECT COUNT(*) FROM test")).toInt());
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> scratch;
    PhoneBookPlace place;

    CommandLine command(const QString &word, const QStringList &arguments = {}) const
    {
        CommandLine line;
        line.command = word;
        line.arguments = arguments;
        line.dataFolder = place.folder;
        return line;
    }
    int run(const CommandLine &line, QString *out = nullptr, QString *err = nullptr)
    {
        QString o;
        QString e;
        QTextStream outStream(&o);
        QTextStream errStream(&e);
        const int status = runCommand(line, outStream, errStream);
        outStream.flush();
        errStream.flush();
        if (out)
            *out = o;
        if (err)
            *err = e;
        return status;
    }

private Q_SLOTS:
    void init()
    {
        scratch = std::make_unique<QTemporaryDir>();
        place = {};
        place.kind = PlaceKind::Chosen;
        place.folder = scratch->filePath(QStringLiteral("phone book"));
        QVERIFY(QDir().mkpath(place.folder));
        makeEmptyDatabase(place.folder);
        addEntries(place.databasePath(), 1, 3);
    }
    void cleanup()
    {
        scratch.reset();
        useLanguage(InterfaceLanguage::Persian);
    }

    void dailyBackupIsTakenOncePerDay()
    {
        const Result<QString> first = makeDailyBackup(place, morning);
        QVERIFY(first.ok());
        QCOMPARE(first.value, QDir(place.backupFolder()).filePath("db1-2026-12-07.mdb"));
        QCOMPARE(rowsOf(first.value), rowsOf(place.databasePath()));

        addEntries(place.databasePath(), 4, 1);
        const Result<QString> again = makeDailyBackup(place, morning.addSecs(3600 * 8));
        QVERIFY(again.ok());
        QVERIFY(again.value.isEmpty());
        QCOMPARE(storedRows(first.value).size(), 3);

        const Result<QString> tomorrow = makeDailyBackup(place, morning.addDays(1));
        QCOMPARE(QFileInfo(tomorrow.value).fileName(), QStringLiteral("db1-2026-12-08.mdb"));
        QCOMPARE(storedRows(tomorrow.value).size(), 4);
    }

    void theLastFourteenDaysAreKept()
    {
        const QString folder = place.backupFolder();
        QVERIFY(QDir().mkpath(folder));
        writeBytes(QDir(folder).filePath("notes.txt"), "mine");
        writeBytes(QDir(folder).filePath("db1-jet-backup.mdb"), "mine");
        // Named as old backups, but no phone book of ours, or a link to one
        // elsewhere: neither goes, nor what the link leads to.
        writeBytes(QDir(folder).filePath("db1-2020-01-01.mdb"), "mine");
        const QString elsewhere = scratch->filePath(QStringLiteral("elsewhere.mdb"));
        QVERIFY(QFile::copy(place.databasePath(), elsewhere));
        QVERIFY(QFile::link(elsewhere, QDir(folder).filePath("db1-2020-01-02.mdb")));
        for (int day = 0; day < 20; ++day)
            QVERIFY(makeDailyBackup(place, morning.addDays(day)).ok());
        // A second backup of the last day keeps its own name and both stay.
        const Result<QString> extra
            = backups::make(place.databasePath(), folder, morning.addDays(19).addSecs(61));
        QCOMPARE(QFileInfo(extra.value).fileName(), QStringLiteral("db1-2026-12-26-090101.mdb"));

        QStringList expected{"db1-2020-01-01.mdb", "db1-2020-01-02.mdb", "db1-jet-backup.mdb",
                             "notes.txt"};
        for (int day = 6; day < 20; ++day)
            expected.append(morning.addDays(day).toString("'db1-'yyyy-MM-dd'.mdb'"));
        expected.append(QFileInfo(extra.value).fileName());
        expected.sort();
        QCOMPARE(namesIn(folder), expected);
        QVERIFY(QFileInfo::exists(elsewhere));
    }

    // A backups folder that leads elsewhere is neither written into nor
    // pruned, and it is told once, not every day.
    void backupsFolderThatIsALinkIsRefused()
    {
        const QString elsewhere = scratch->filePath(QStringLiteral("someone's folder"));
        QVERIFY(QDir().mkpath(elsewhere));
        for (int day = 1; day <= 20; ++day)
            writeBytes(QDir(elsewhere).filePath(
                           QStringLiteral("db1-2020-01-%1.mdb").arg(day, 2, 10, QLatin1Char('0'))),
                       "theirs");
        const QStringList theirs = namesIn(elsewhere);
        QVERIFY(QFile::link(elsewhere, place.backupFolder()));

        FakeDesktop fake;
        for (int day = 0; day < 2; ++day) {
            fake.clock = morning.addDays(day);
            const Result<QString> made = makeDailyBackup(place, fake.clock);
            QCOMPARE(made.error.cause, FailureCause::UnsafeFolder);
            QWidget window;
            DailyBackupStart daily(fake.desktop(), place, &window);
            QSignalSpy failed(&daily.backup(), &BackgroundBackup::failed);
            fake.showWindow(&window);
            QTRY_COMPARE(failed.size(), 1);
        }
        QCOMPARE(fake.boxes.size(), 1);
        QVERIFY(fake.boxes.first().text.contains(causeWords(FailureCause::UnsafeFolder)));
        QCOMPARE(namesIn(elsewhere), theirs);
        QCOMPARE(run(command(QStringLiteral("backup"))), int(CommandFailed));
        QCOMPARE(namesIn(elsewhere), theirs);
    }

    void leftoversOfAnInterruptedCopyGoOnlyWhenOld()
    {
        const QString folder = place.backupFolder();
        QVERIFY(QDir().mkpath(folder));
        const QString old = QDir(folder).filePath(".partial-AAAAAA");
        const QString fresh = QDir(folder).filePath(".partial-BBBBBB");
        // What a copy writes first: the start of a SQLite file.
        const QByteArray half = QByteArray("SQLite format 3", 16) + "half";
        writeBytes(old, half);
        writeBytes(fresh, half);
        QFile stale(old);
        QVERIFY(stale.open(QIODevice::ReadWrite));
        QVERIFY(stale.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                                  QFileDevice::FileModificationTime));
        stale.close();
        QVERIFY(makeDailyBackup(place, morning).ok());
        QCOMPARE(namesIn(folder), QStringList({".partial-BBBBBB", "db1-2026-12-07.mdb"}));
    }

    // The window's thread goes on while the phone book is held by another
    // program, and adds made while the copy runs all land.
    void backgroundBackupNeverHoldsTheProgramUp()
    {
        addEntries(place.databasePath(), 4, 20000);
        RawDatabase other(place.databasePath());
        QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));

        BackgroundBackup backup(place);
        QSignalSpy made(&backup, &BackgroundBackup::made);
        QSignalSpy failed(&backup, &BackgroundBackup::failed);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(backup.startIfDue(morning));
        QVERIFY(clock.elapsed() < 1000);
        QTest::qWait(300);
        QVERIFY(backup.isRunning());
        QVERIFY(other.exec(QStringLiteral("COMMIT")));

        ContactStore store(place.folder);
        int added = 0;
        while (made.isEmpty() && failed.isEmpty() && added < 200) {
            QVERIFY(store.open().ok());
            QVERIFY(store.appendEntry({QStringLiteral("تازه"), QStringLiteral("1"), {}, 1.0}).ok());
            ++added;
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!made.isEmpty() || !failed.isEmpty(), 60000);
        QVERIFY(failed.isEmpty());
        verifyWhole(made.first().first().toString());
        QCOMPARE(RawDatabase(place.databasePath())
                     .scalar(QStringLiteral("SELECT COUNT(*) FROM test"))
                     .toInt(),
                 20003 + added);
        QVERIFY(!backup.startIfDue(morning)); // once a day
    }

    void failedBackupIsToldOnceADay()
    {
        FakeDesktop fake;
        fake.clock = morning;
        // A file where the backups folder should be: no backup can be made.
        writeBytes(place.backupFolder(), "in the way");
        for (int start = 0; start < 2; ++start) {
            QWidget window;
            DailyBackupStart daily(fake.desktop(), place, &window);
            QSignalSpy failed(&daily.backup(), &BackgroundBackup::failed);
            fake.showWindow(&window);
            QTRY_COMPARE(failed.size(), 1);
        }
        QCOMPARE(fake.boxes.size(), 1);
        QVERIFY(fake.boxes.first().text.startsWith(QStringLiteral("پشتيبان امروز")));
        QVERIFY(fake.boxes.first().text.contains(place.backupFolder()));
        fake.clock = morning.addDays(1);
        QWidget window;
        DailyBackupStart daily(fake.desktop(), place, &window);
        fake.showWindow(&window);
        QTRY_COMPARE(fake.boxes.size(), 2);
    }

    void restoreRefusesWhatIsNoPhoneBook_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FailureCause>("cause");
        QTest::newRow("text") << "text" << FailureCause::NotADatabase;
        QTest::newRow("damaged") << "damaged" << FailureCause::Damaged;
        QTest::newRow("no table") << "no table" << FailureCause::NoTable;
        QTest::newRow("field missing") << "field missing" << FailureCause::MissingField;
        QTest::newRow("missing") << "missing" << FailureCause::CannotOpen;
    }
    void restoreRefusesWhatIsNoPhoneBook()
    {
        QFETCH(QString, kind);
        QFETCH(FailureCause, cause);
        const QString file = scratch->filePath(QStringLiteral("restore me.mdb"));
        if (kind == QLatin1String("text")) {
            writeBytes(file, "BEGIN:VCARD\r\nFN:x\r\nEND:VCARD\r\n");
        } else if (kind == QLatin1String("damaged")) {
            QDir().mkpath(scratch->filePath("other"));
            const QString source = makeEmptyDatabase(scratch->filePath("other"));
            addEntries(source, 1, 3000);
            QByteArray bytes = bytesOf(source);
            const int pageSize = 4096;
            QVERIFY(bytes.size() > 8 * pageSize);
            for (int i = 0; i < pageSize - 200; ++i)
                bytes[bytes.size() - 2 * pageSize + 100 + i] = char(0x5A);
            writeBytes(file, bytes);
        } else if (kind != QLatin1String("missing")) {
            QDir().mkpath(scratch->filePath("other"));
            const QString source = makeEmptyDatabase(scratch->filePath("other"));
            const QString sql = kind == QLatin1String("no table")
                ? QStringLiteral("DROP TABLE test")
                : QStringLiteral("ALTER TABLE test DROP COLUMN \"يادداشت\"");
            QCOMPARE(execSql(source,
                             QStringLiteral("DROP TRIGGER test_after_insert; DROP TRIGGER "
                                            "test_after_delete; DROP INDEX "
                                            "test_folded_name; ")
                                 + sql),
                     QString());
            QVERIFY(QFile::rename(source, file));
        }
        const QByteArray before = bytesOf(place.databasePath());
        const Result<QString> restored = restorePhoneBook(place, file, morning);
        QVERIFY(!restored.ok());
        QCOMPARE(restored.error.cause, cause);
        QCOMPARE(bytesOf(place.databasePath()), before);
        QCOMPARE(namesIn(place.folder), QStringList{"db1.mdb"});
        QVERIFY(!QFileInfo::exists(place.backupFolder()));
    }

    void restoreSwapsAGoodOneInAndKeepsTheCurrent()
    {
        const Result<QString> saved = makeDailyBackup(place, morning);
        QVERIFY(saved.ok());
        // The windows of a running program hold the phone book open.
        ContactStore store(place.folder);
        QVERIFY(store.open().ok());
        addEntries(place.databasePath(), 4, 2);
        const QStringList current = rowsOf(place.databasePath());

        const Result<QString> restored = restorePhoneBook(place, saved.value, morning.addSecs(60));
        QVERIFY(restored.ok());
        QCOMPARE(rowsOf(place.databasePath()), rowsOf(saved.value));
        QCOMPARE(QFileInfo(restored.value).path(), place.backupFolder());
        QCOMPARE(rowsOf(restored.value), current);
        QCOMPARE(namesIn(place.folder), QStringList{"db1.mdb"});

        // What the window adds next lands in the restored phone book.
        QVERIFY(store.appendEntry({QStringLiteral("بعدي"), QStringLiteral("2"), {}, 4.0}).ok());
        QVERIFY(store.open().ok());
        QCOMPARE(store.countEntries().value, 4);
        QCOMPARE(storedRows(place.databasePath()).size(), 4);
    }

    // The file restored from is read as it lies, and never written to or
    // beside: one whose log still holds changes is refused, as they would be
    // passed over.
    void restoreLeavesTheFileAsItWas()
    {
        const QString copied = scratch->filePath(QStringLiteral("copied"));
        const QString live = scratch->filePath(QStringLiteral("live"));
        QVERIFY(QDir().mkpath(copied) && QDir().mkpath(live));
        const QString source = makeEmptyDatabase(live);
        addEntries(source, 1, 2);
        {
            // Copied while another program had changes only in its log.
            RawDatabase writer(source);
            QVERIFY(writer.exec(QStringLiteral("PRAGMA journal_mode = WAL; "
                                               "PRAGMA wal_autocheckpoint = 0")));
            QVERIFY(writer.insert(QStringLiteral("in the log"), QStringLiteral("3"), {}, 3));
            for (const char *suffix : {"", "-wal"})
                QVERIFY(QFile::copy(
                    source + QLatin1String(suffix),
                    QDir(copied).filePath(QStringLiteral("db1.mdb") + QLatin1String(suffix))));
        }
        const QString file = QDir(copied).filePath(QStringLiteral("db1.mdb"));
        const QByteArray bytes = bytesOf(file);
        const QByteArray log = bytesOf(file + QStringLiteral("-wal"));
        const QByteArray current = bytesOf(place.databasePath());

        const Result<QString> restored = restorePhoneBook(place, file, morning);
        QCOMPARE(restored.error.cause, FailureCause::BusyOrLocked);
        QCOMPARE(namesIn(copied), (QStringList{"db1.mdb", "db1.mdb-wal"}));
        QCOMPARE(bytesOf(file), bytes);
        QCOMPARE(bytesOf(file + QStringLiteral("-wal")), log);
        QCOMPARE(bytesOf(place.databasePath()), current);

        // Once that program has written them in, all of them come.
        QVERIFY(QFile::remove(file));
        QVERIFY(QFile::remove(file + QStringLiteral("-wal")));
        QVERIFY(QFile::copy(source, file));
        QVERIFY(restorePhoneBook(place, file, morning).ok());
        QCOMPARE(storedRows(place.databasePath()).size(), 3);
        QCOMPARE(namesIn(copied), QStringList{"db1.mdb"});
        QCOMPARE(bytesOf(file), bytesOf(source));
    }

    void restoreReplacesAPhoneBookSQLiteCannotRead()
    {
        const Result<QString> saved = makeDailyBackup(place, morning);
        const QByteArray garbage(20000, char(0x33));
        writeBytes(place.databasePath(), garbage);
        const Result<QString> restored = restorePhoneBook(place, saved.value, morning.addSecs(60));
        QVERIFY(restored.ok());
        QCOMPARE(storedRows(place.databasePath()).size(), 3);
        QCOMPARE(bytesOf(restored.value), garbage); // kept byte for byte
    }

    // What a power cut keeps: each file whole before it has its name, and
    // each name on the disk before what it replaces or outdates goes.
    void eachFileIsOnTheDiskBeforeItsName()
    {
        {
            const testing::DurableStepLog log(place.folder);
            QVERIFY(makeDailyBackup(place, morning).ok());
            QCOMPARE(log.lines(),
                     QStringList({"sync file backups/.partial-*",
                                  "rename backups/.partial-* -> backups/db1-2026-12-07.mdb",
                                  "sync folder backups"}));
        }
        writeBytes(place.databasePath(), QByteArray(20000, char(0x33)));
        const testing::DurableStepLog log(place.folder);
        QVERIFY(restorePhoneBook(place, QDir(place.backupFolder()).filePath("db1-2026-12-07.mdb"),
                                 morning.addSecs(60))
                    .ok());
        QCOMPARE(log.lines(),
                 QStringList({"sync file db1.mdb.restoring-*",
                              "sync file backups/db1-2026-12-07-090100.mdb", "sync folder backups",
                              "rename db1.mdb.restoring-* -> db1.mdb", "sync folder ."}));
    }

    void commandsTellTheirOutcome()
    {
        // As the commands speak on a system in English.
        QVERIFY(useLanguage(InterfaceLanguage::English));
        QString out;
        QString err;
        QCOMPARE(run(command("where"), &out), int(CommandDone));
        QVERIFY(out.contains(QStringLiteral("phone book: ") + place.databasePath()));
        QVERIFY(out.contains(QStringLiteral("backups: ") + place.backupFolder()));
        QVERIFY(out.contains(QStringLiteral("settings: ")));
        QCOMPARE(run(command("where", {"x"})), int(CommandMisused));

        QCOMPARE(run(command("backup"), &out), int(CommandDone));
        const QString made = out.trimmed().mid(QStringLiteral("backup: ").size());
        QVERIFY(QFileInfo(made).isFile());
        verifyWhole(made);

        QCOMPARE(run(command("restore")), int(CommandMisused));
        const QString text = scratch->filePath("text.mdb");
        writeBytes(text, "not a phone book");
        QCOMPARE(run(command("restore", {text}), &out, &err), int(CommandFailed));
        QVERIFY(err.contains(QStringLiteral("not a phone book")));
        QVERIFY(err.contains(QStringLiteral("unchanged")));
        QCOMPARE(run(command("restore", {made}), &out), int(CommandDone));
        QVERIFY(out.contains(QStringLiteral("kept as")));
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
