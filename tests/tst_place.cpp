// Where the phone book lives: the option and the environment, portable use
// beside the program, installed use in the user's data folder; a portable
// folder that cannot be written; the about window's path. Scratch folders only.
#include "cli/openfiles.h"
#include "layout/formtextbox.h"
#include "main/mainwindow.h"
#include "main/openedfiles.h"
#include "place/phonebookplace.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "windows/aboutwindow.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

#include <map>

#include <unistd.h>

using namespace dialvault;

namespace {

// Every file under `folder` with its bytes and its time of change.
std::map<QString, std::pair<QByteArray, QDateTime>> snapshot(const QString &folder)
{
    std::map<QString, std::pair<QByteArray, QDateTime>> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QFile file(info.filePath());
        QByteArray bytes;
        if (info.isFile() && file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        files[info.filePath()] = {bytes, info.lastModified()};
    }
    return files;
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestPlace : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> scratch;
    QString program; // the folder the program runs from
    QString userData; // the platform's data folder for the program
    QString emptyDatabase; // the installation's empty phone book

    PlaceFacts facts() const
    {
        PlaceFacts f;
        f.programFolder = program;
        f.userDataFolder = userData;
        f.emptyDatabase = emptyDatabase;
        return f;
    }

private Q_SLOTS:
    void init()
    {
        scratch = std::make_unique<QTemporaryDir>();
        const QDir root(scratch->path());
        program = root.filePath(QStringLiteral("program"));
        userData = root.filePath(QStringLiteral("home/.local/share/Dialvault"));
        QVERIFY(root.mkpath(program));
        QVERIFY(root.mkpath(QStringLiteral("share/dialvault")));
        emptyDatabase = makeEmptyDatabase(root.filePath(QStringLiteral("share/dialvault")));
    }
    void cleanup() { scratch.reset(); }

    void optionThenEnvironmentChooseTheFolder_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("expected");
        QTest::newRow("option") << "by option"
                                << ""
                                << "by option";
        QTest::newRow("environment") << ""
                                     << "by environment"
                                     << "by environment";
        QTest::newRow("option over environment") << "by option"
                                                 << "by environment"
                                                 << "by option";
    }
    void optionThenEnvironmentChooseTheFolder()
    {
        QFETCH(QString, option);
        QFETCH(QString, environment);
        QFETCH(QString, expected);
        // Even a program folder that asks for portable use gives way.
        makeEmptyDatabase(program);
        PlaceFacts f = facts();
        const QDir root(scratch->path());
        f.optionFolder = option.isEmpty() ? QString() : root.filePath(option);
        f.environmentFolder = environment.isEmpty() ? QString() : root.filePath(environment);
        const Result<PhoneBookPlace> place = decidePlace(f);
        QVERIFY(place.ok());
        QCOMPARE(place.value.kind, PlaceKind::Chosen);
        QCOMPARE(place.value.folder, root.filePath(expected));
        QVERIFY(place.value.settingsFile.isEmpty());
        QVERIFY(!QFileInfo::exists(place.value.folder)); // deciding changes nothing on disk

        // Nothing is made from nothing there: a missing phone book is said
        // when it is opened.
        QVERIFY(preparePlace(place.value).ok());
        QVERIFY(!QFileInfo::exists(place.value.folder));
    }

    void portableBesideAPhoneBookOrMarker_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("phone book") << "db1.mdb";
        QTest::newRow("marker") << "portable";
    }
    void portableBesideAPhoneBookOrMarker()
    {
        QFETCH(QString, file);
        if (file == QLatin1String("db1.mdb"))
            makeEmptyDatabase(program);
        else
            touch(QDir(program).filePath(file));
        const Result<PhoneBookPlace> place = decidePlace(facts());
        QVERIFY(place.ok());
        QCOMPARE(place.value.kind, PlaceKind::Portable);
        QCOMPARE(place.value.folder, program);
        // The folder carries everything, the settings too.
        QCOMPARE(QFileInfo(place.value.settingsFile).path(), program);
        QCOMPARE(place.value.settingsLocation(), place.value.settingsFile);
        QVERIFY(preparePlace(place.value).ok());
        QCOMPARE(QFileInfo::exists(QDir(program).filePath(QStringLiteral("db1.mdb"))),
                 file == QLatin1String("db1.mdb"));
        QVERIFY(!QFileInfo::exists(userData));
    }

    void installedUseCopiesTheEmptyPhoneBookOnceAndNeverOverwrites()
    {
        const Result<PhoneBookPlace> place = decidePlace(facts());
        QVERIFY(place.ok());
        QCOMPARE(place.value.kind, PlaceKind::Installed);
        QCOMPARE(place.value.folder, userData);
        QVERIFY(place.value.settingsFile.isEmpty());

        QVERIFY(preparePlace(place.value).ok());
        const QString database = place.value.databasePath();
        QVERIFY(sameBytes(database, emptyDatabase));
        QVERIFY(QFileInfo(database).isWritable());
        QCOMPARE(QDir(userData).entryList(QDir::Files | QDir::Hidden), QStringList{"db1.mdb"});

        insertRow(database, {QStringLiteral("مينا"), QStringLiteral("0912"), {}, 1});
        QVERIFY(preparePlace(place.value).ok());
        QCOMPARE(storedRows(database).size(), 1);
        QVERIFY(storedRows(emptyDatabase).isEmpty());
    }

    void installedUseWithoutTheEmptyPhoneBookMakesNone()
    {
        QVERIFY(QFile::remove(emptyDatabase));
        const Result<PhoneBookPlace> place = decidePlace(facts());
        const Status prepared = preparePlace(place.value);
        QCOMPARE(prepared.error.cause, FailureCause::CannotOpen);
        QVERIFY(prepared.error.description.contains(emptyDatabase));
        QVERIFY(!QFileInfo::exists(place.value.databasePath()));
    }

    void portableFolderThatCannotBeWrittenIsSaidNeverReplaced_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("phone book") << "db1.mdb";
        QTest::newRow("marker") << "portable";
    }
    void portableFolderThatCannotBeWrittenIsSaidNeverReplaced()
    {
        QFETCH(QString, file);
        touch(QDir(program).filePath(file));
        PlaceFacts f = facts();
        QStringList probed;
        f.canWriteIn = [&](const QString &folder) {
            probed.append(folder);
            return false;
        };
        const Result<PhoneBookPlace> place = decidePlace(f);
        QCOMPARE(probed, QStringList{program});
        QVERIFY(!place.ok());
        QCOMPARE(place.error.cause, FailureCause::ReadOnly);
        const QString &text = place.error.description;
        QVERIFY(text.startsWith(QStringLiteral("دفترچه تلفن کنار برنامه است")));
        QVERIFY(text.contains(QDir::toNativeSeparators(program)));
        QVERIFY(text.contains(QDir::toNativeSeparators(userData)));
        QVERIFY(!QFileInfo::exists(userData));
    }

    void probeTellsAWritableFolderAndLeavesNothing()
    {
        QVERIFY(canWriteIn(program));
        QVERIFY(QDir(program)
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());
        QVERIFY(!canWriteIn(QDir(program).filePath(QStringLiteral("missing"))));
        touch(QDir(program).filePath(QStringLiteral("a file")));
        QVERIFY(!canWriteIn(QDir(program).filePath(QStringLiteral("a file"))));
        if (geteuid() == 0)
            QSKIP("root writes in any folder; the refusal itself is checked above");
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool writable = canWriteIn(program);
        QFile::setPermissions(
            program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!writable);
    }

    void chosenFolderForAFirstUseGetsAPhoneBook_data()
    {
        QTest::addColumn<QString>("holds"); // a file already in the folder; "-": no folder
        QTest::addColumn<bool>("made");
        QTest::newRow("missing folder") << "-" << true;
        QTest::newRow("empty folder") << "" << true;
        QTest::newRow("folder of other files") << "notes.txt" << false;
        QTest::newRow("hidden file") << ".hidden" << false;
        QTest::newRow("db1.mdb that is no phone book") << "db1.mdb" << false;
    }
    void chosenFolderForAFirstUseGetsAPhoneBook()
    {
        QFETCH(QString, holds);
        QFETCH(bool, made);
        PlaceFacts f = facts();
        f.optionFolder = QDir(scratch->path()).filePath(QStringLiteral("chosen/folder"));
        const Result<PhoneBookPlace> place = decidePlace(f);
        QVERIFY(place.ok());
        if (holds != QLatin1String("-"))
            QVERIFY(QDir().mkpath(f.optionFolder));
        if (!holds.isEmpty() && holds != QLatin1String("-"))
            touch(QDir(f.optionFolder).filePath(holds));
        const auto before = snapshot(scratch->path());

        const Result<bool> prepared = makePhoneBookInEmptyFolder(place.value);
        QVERIFY2(prepared.ok(), qPrintable(prepared.error.description));
        QCOMPARE(prepared.value, made);
        if (made) {
            QCOMPARE(QDir(f.optionFolder)
                         .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     QStringList{"db1.mdb"});
            QVERIFY(storedRows(place.value.databasePath()).isEmpty());
            // Once there, it is the folder's phone book: never made again.
            insertRow(place.value.databasePath(), {QStringLiteral("مينا"), "0912", {}, 1});
            QVERIFY(!makePhoneBookInEmptyFolder(place.value).value);
            QCOMPARE(storedRows(place.value.databasePath()).size(), 1);
        } else {
            QVERIFY(snapshot(scratch->path()) == before);
        }
        // Only a folder named for it: the installed place has its own first start.
        QVERIFY(!makePhoneBookInEmptyFolder(decidePlace(facts()).value).value);
        QVERIFY(!QFileInfo::exists(userData));
    }

    void existingPortableFolderIsLeftExactlyAsItWas()
    {
        const QString database = makeEmptyDatabase(program);
        insertRow(database,
                  {QStringLiteral("سارا"), QStringLiteral("021"), QStringLiteral("x"), 1});
        touch(QDir(program).filePath(QStringLiteral("dialvault")));
        QVERIFY(QDir(program).mkpath(QStringLiteral("backups")));
        touch(QDir(program).filePath(QStringLiteral("backups/db1-2026-01-01.mdb")));
        const auto before = snapshot(program);

        const Result<PhoneBookPlace> place = decidePlace(facts());
        QVERIFY(place.ok());
        QVERIFY(preparePlace(place.value).ok());
        QCOMPARE(place.value.databasePath(), database);
        QVERIFY(snapshot(program) == before);
        QVERIFY(!QFileInfo::exists(userData));
    }

    void factsComeFromTheEnvironmentAndTheUsersDataFolder()
    {
        const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
        const QByteArray savedDir = qgetenv("DIALVAULT_DATA_DIR");
        const QString dataHome = QDir(scratch->path()).filePath(QStringLiteral("data home"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
        qputenv("DIALVAULT_DATA_DIR", "/somewhere/else");
        QCoreApplication::setApplicationName(QStringLiteral("Dialvault"));
        const PlaceFacts f = placeFacts(QStringLiteral("given"));
        qputenv("XDG_DATA_HOME", savedHome);
        qputenv("DIALVAULT_DATA_DIR", savedDir);
        QCOMPARE(f.optionFolder, QStringLiteral("given"));
        QCOMPARE(f.environmentFolder, QStringLiteral("/somewhere/else"));
        QCOMPARE(f.userDataFolder, QDir(dataHome).filePath(QStringLiteral("Dialvault")));
        QCOMPARE(f.programFolder, QCoreApplication::applicationDirPath());
        QCOMPARE(QFileInfo(f.emptyDatabase).fileName(), QStringLiteral("db1.mdb"));
        QCOMPARE(
            QDir::cleanPath(QFileInfo(f.emptyDatabase).path()),
            QDir::cleanPath(QDir(f.programFolder).filePath(QStringLiteral("../share/dialvault"))));
    }

    void aboutWindowShowsThePhoneBooksFullPath()
    {
        FakeDesktop fake;
        fake.folder = program;
        AboutWindow about(fake.desktop());
        FormTextBox *where = about.controls().phoneBookPathBox;
        QVERIFY(where);
        QCOMPARE(where->text(), QDir::toNativeSeparators(QDir(program).filePath("db1.mdb")));
        QVERIFY(where->isReadOnly());
        QCOMPARE(where->focusPolicy(), Qt::ClickFocus);
        where->selectAll();
        QCOMPARE(where->selectedText(), where->text());
        // On a free line: nothing of the window's own lies under it.
        for (const ControlLayout &control : about.layout().controls) {
            if (control.name == where->objectName())
                continue;
            const auto *other = about.findChild<QWidget *>(control.name);
            QVERIFY(other);
            QVERIFY2(!other->geometry().intersects(where->geometry()), qPrintable(control.name));
        }
    }

    void pathsGivenAloneAreFilesToOpen_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<bool>("files");
        QTest::newRow("desktop's open with")
            << QStringList{"/home/u/a.vcf", "/home/u/b.csv"} << true;
        QTest::newRow("bare file name") << QStringList{"contacts.vcf"} << true;
        QTest::newRow("relative path") << QStringList{"./backup"} << true;
        QTest::newRow("command") << QStringList{"backup"} << false;
        QTest::newRow("command with a file") << QStringList{"restore", "b.mdb"} << false;
    }
    void pathsGivenAloneAreFilesToOpen()
    {
        QFETCH(QStringList, words);
        QFETCH(bool, files);
        const CommandLine line = parseCommandLine(words);
        QCOMPARE(filesToOpen(line), files ? words : QStringList());
    }

    void filesGivenAtStartAreImportedAndTold()
    {
        FakeDesktop fake;
        fake.folder = program;
        makeEmptyDatabase(program);
        MainWindow form(fake.desktop());
        QVERIFY(form.start());
        const QString card = QDir(program).filePath(QStringLiteral("card.vcf"));
        QFile file(card);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Nima\r\nTEL:0912\r\nEND:VCARD\r\n");
        file.close();
        // Text that is no contacts file: refused, and said so.
        const QString notes = QDir(program).filePath(QStringLiteral("notes.csv"));
        QFile refused(notes);
        QVERIFY(refused.open(QIODevice::WriteOnly));
        refused.write("shopping list\nbread\n");
        refused.close();

        importFilesGivenAtStart(fake, form, {card, notes});
        QCOMPARE(storedRows(QDir(program).filePath(QStringLiteral("db1.mdb"))).size(), 1);
        QCOMPARE(form.controls().countBox->text(), QStringLiteral("1"));
        QCOMPARE(fake.boxes.size(), 1);
        QVERIFY(fake.boxes.first().text.contains(QStringLiteral("notes.csv")));
        // The import is one step, undone as such.
        QCOMPARE(form.history().nextUndo(), std::optional(EditStep::Import));
        form.undo();
        QTRY_COMPARE(form.controls().countBox->text(), QStringLiteral("0"));
        QVERIFY(storedRows(QDir(program).filePath(QStringLiteral("db1.mdb"))).isEmpty());
    }

private:
    static bool sameBytes(const QString &a, const QString &b)
    {
        QFile fa(a);
        QFile fb(b);
        return fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly)
            && fa.readAll() == fb.readAll();
    }
};

QTEST_MAIN(TestPlace)
#include "tst_place.moc"
