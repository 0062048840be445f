// The contacts commands as a script runs them: the built program against a
// scratch phone book, its output, its exit statuses, and no window opened
// (it runs with no display at all and a platform that would need one).
#include "store/databasecreation.h"
#include "support/sqlitefile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace dialvault;

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

const QStringList goodFiles{
    "phone-2.1-qp.vcf", "addressbook-3.0.vcf", "mail-4.0.vcf",  "webmail-google.csv",
    "outlook-1256.csv", "mailprogram.csv",     "dialvault.csv",
};

} // namespace

class TestContactCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;

    QString file(const QString &name) const { return dir->filePath(name); }

    // `language` is the system's (LC_ALL); `messages` the languages the user
    // reads messages in (LANGUAGE), none when empty; `dataFolder` the
    // --data-dir, the test's folder when empty.
    Run run(const QStringList &arguments, const QString &language = QStringLiteral("C.UTF-8"),
            const QString &messages = {}, const QString &dataFolder = {})
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "DIALVAULT_DATA_DIR", "LANGUAGE"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("LC_ALL"), language);
        if (!messages.isEmpty())
            environment.insert(QStringLiteral("LANGUAGE"), messages);
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(dir->path());
        program.start(QStringLiteral(DIALVAULT_PROGRAM),
                      QStringList{QStringLiteral("--data-dir"),
                                  dataFolder.isEmpty() ? dir->path() : dataFolder}
                          + arguments);
        Run result;
        if (!program.waitForFinished(60000))
            return result;
        result.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        result.out = QString::fromUtf8(program.readAllStandardOutput());
        result.err = QString::fromUtf8(program.readAllStandardError());
        return result;
    }

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(createDatabaseIfMissing(file(QStringLiteral("db1.mdb"))).value);
        const QDir data(QStringLiteral(DIALVAULT_TEST_DATA "/interchange"));
        for (const QString &name : data.entryList(QDir::Files))
            QVERIFY(QFile::copy(data.filePath(name), file(name)));
        for (const char *name : {"jet4-basic.mdb", "not-a-database.mdb"})
            QVERIFY(QFile::copy(QStringLiteral(DIALVAULT_TEST_DATA "/") + QLatin1String(name),
                                file(QLatin1String(name))));
        // An empty file, a Windows-1252 file that does not say so, and a
        // card with a line that is passed over.
        const std::pair<const char *, QByteArray> made[]{
            {"empty.vcf", QByteArray()},
            {"de.csv",
             QStringLiteral("Vorname;Nachname;Mobiltelefon\r\nJürgen;Müller;0171 1\r\n")
                 .toLatin1()},
            {"card.vcf", "BEGIN:VCARD\r\nFN:Ali\r\nADR:;;Main St\r\nSpringfield\r\nEND:VCARD\r\n"},
        };
        for (const auto &[name, bytes] : made) {
            QFile out(file(QLatin1String(name)));
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        }
        // What an import must not wait on: pipes nobody writes, and a folder.
        for (const char *name : {"pipe.vcf", "pipe.mdb"})
            QCOMPARE(mkfifo(QFile::encodeName(file(QLatin1String(name))).constData(), 0600), 0);
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("cards.vcf")));
    }
    void cleanup() { dir.reset(); }

    void exportersFilesComeIn()
    {
        const Run imported = run(QStringList{"import"} + goodFiles);
        QCOMPARE(imported.err, QString());
        // The one file in a code page says which it was read in.
        QCOMPARE(imported.out,
                 "15 added, 1 duplicate skipped, 1 without name or number; "
                 "outlook-1256.csv: read as Windows-1256\n");
        QCOMPARE(imported.status, 0);
        QStringList names;
        for (const StoredRow &row : storedRows(file("db1.mdb"))) {
            names.append(row.name);
            QCOMPARE(row.rowNumber, double(names.size()));
        }
        // In file order; the web mail's first entry is the phone's first again.
        QCOMPARE(names,
                 QStringList({"علی رضایی", "Reza Tehrani", "کاظم", "مریم کاظمی", "Mohammad-Reza",
                              "سارا نیک\u200Cنام", "Sara Ahmadi", "حسین کریمی", "Nasrin Parsa",
                              "Hamid \"Hami\" Nouri", "مينا احمدي", "Kaveh Moradi", "پرویز صالحی",
                              "اكبر كريمي", "Zahra;Test"}));

        // Again: every entry is a duplicate now.
        const Run again = run({"import", "dialvault.csv"});
        QCOMPARE(again.out, "0 added, 2 duplicates skipped, 0 without name or number\n");
    }

    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("errHolds"); // empty: nothing on standard error
        QTest::newRow("a refused file, the others go on")
            << QStringList{"import", "broken-quote.csv", "dialvault.csv", "no-such.vcf"} << 1
            << "2 added, 0 duplicates skipped, 0 without name or number\n"
            << "broken-quote.csv, line 3 was not imported: a quoted cell that never closes";
        QTest::newRow("a Jet phone book") << QStringList{"import", "jet4-basic.mdb"} << 0
                                          << "8 added, 0 duplicates skipped, 0 without name or "
                                             "number\n"
                                          << "";
        QTest::newRow("a text file named .mdb")
            << QStringList{"import", "not-a-database.mdb"} << 1 << ""
            << "not-a-database.mdb was not imported";
        QTest::newRow("import without files") << QStringList{"import"} << 2 << ""
                                              << "FILE";
        QTest::newRow("an empty file") << QStringList{"import", "empty.vcf"} << 0
                                       << "0 added, 0 duplicates skipped, 0 without name or "
                                          "number\n"
                                       << "";
        QTest::newRow("the code page assumed and the lines skipped")
            << QStringList{"import", "de.csv", "card.vcf"} << 0
            << "2 added, 0 duplicates skipped, 0 without name or number; de.csv: read as "
               "Windows-1252; card.vcf: 1 line skipped\n"
            << "";
        QTest::newRow("find a number part")
            << QStringList{"find", "۰۹۱۲ ۱۲۳"} << 0
            << "اكبر كريمي\t09121234567\tيادداشت با \"نقل قول\" و ویرگول, در آن\n"
            << "";
        QTest::newRow("find nothing") << QStringList{"find", "nobody"} << 1 << ""
                                      << "";
        QTest::newRow("find without text") << QStringList{"find"} << 2 << ""
                                           << "TEXT";
        QTest::newRow("export by extension")
            << QStringList{"export", "out.csv"} << 0 << "2 entries written to out.csv\n"
            << "";
        QTest::newRow("export, format unknown") << QStringList{"export", "out.txt"} << 2 << ""
                                                << "--format";
        QTest::newRow("export, format chosen")
            << QStringList{"export", "--format=vcard4", "out.txt"} << 0
            << "2 entries written to out.txt\n"
            << "";
        QTest::newRow("export to a device that is full")
            << QStringList{"export", "--format", "csv", "/dev/full"} << 1 << ""
            << "/dev/full was not written";
        QTest::newRow("import of what never ends or never comes")
            << QStringList{"import", "/dev/zero", "pipe.vcf", "pipe.mdb", "cards.vcf"} << 1 << ""
            << "not a regular file";
        QTest::newRow("export, folder missing")
            << QStringList{"export", "missing/out.vcf"} << 1 << ""
            << "missing/out.vcf";
    }
    void exitStatuses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, errHolds);
        if (arguments.first() != QLatin1String("import"))
            QCOMPARE(run({"import", "dialvault.csv"}).status, 0);
        const Run result = run(arguments);
        QCOMPARE(result.out, out);
        if (errHolds.isEmpty())
            QCOMPARE(result.err, QString());
        else
            QVERIFY2(result.err.contains(errHolds), qPrintable(result.err));
        QCOMPARE(result.status, status);
    }

    void exportToAPipe()
    {
        QCOMPARE(run({"import", "dialvault.csv"}).status, 0);
        const Run exported = run({"export", "--format", "csv", "/dev/stdout"});
        QCOMPARE(exported.status, 0);
        QVERIFY2(exported.out.contains(QStringLiteral("نام,تلفن,يادداشت,رديف\r\n")),
                 qPrintable(exported.out));
        QVERIFY(exported.out.endsWith(QStringLiteral(",2\r\n2 entries written to /dev/stdout\n")));
    }

    // Drawn without a display: every name readable in the PDF's text, the
    // names of the phone book in the Persian alphabet's order.
    void exportPrintedList()
    {
        QCOMPARE(run(QStringList{"import"} + goodFiles).status, 0);
        const Run exported = run({"export", "out.pdf"});
        // The platform may warn of the session it runs in; nothing of ours.
        QVERIFY2(!exported.err.contains(QLatin1String("dialvault")), qPrintable(exported.err));
        QCOMPARE(exported.out, "15 entries written to out.pdf\n");
        QCOMPARE(exported.status, 0);
        QProcess extract;
        extract.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file("out.pdf"),
                       QStringLiteral("-")});
        QVERIFY(extract.waitForFinished(60000) && extract.exitCode() == 0);
        QString text = QString::fromUtf8(extract.readAllStandardOutput());
        text.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
        qsizetype previous = -1;
        for (const char *name : {"اكبر كريمي", "پرویز صالحی", "حسین کریمی", "سارا نیکنام",
                                 "علی رضایی", "کاظم", "مریم کاظمی", "مينا احمدي"}) {
            const qsizetype at = text.indexOf(QString::fromUtf8(name));
            QVERIFY2(at > previous, name);
            previous = at;
        }
        for (const char *name : {"Hamid \"Hami\" Nouri", "Kaveh Moradi", "Mohammad-Reza",
                                 "Nasrin Parsa", "Reza Tehrani", "Sara Ahmadi", "Zahra;Test"})
            QVERIFY2(text.contains(QLatin1String(name)), name);
    }

    void findKeepsOneEntryALine()
    {
        insertRow(file("db1.mdb"), {"two\nlines", "0912\t1", "first\r\nsecond", 1});
        const Run found = run({"find", "--start", "+98 912"});
        QCOMPARE(found.out, "two lines\t0912 1\tfirst\n");
        QCOMPARE(found.status, 0);
    }

    void phoneBookThatCannotBeOpened_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::newRow("import") << QStringList{"import", "dialvault.csv"} << 1;
        QTest::newRow("export") << QStringList{"export", "out.vcf"} << 1;
        QTest::newRow("find") << QStringList{"find", "x"} << 2;
    }
    void phoneBookThatCannotBeOpened()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QVERIFY(QFile::remove(file("db1.mdb")));
        const Run result = run(arguments);
        QCOMPARE(result.status, status);
        QVERIFY2(result.err.contains(file("db1.mdb")), qPrintable(result.err));
        // A command never makes a phone book from nothing.
        QVERIFY(!QFile::exists(file("db1.mdb")));
        QVERIFY(!QFile::exists(file("out.vcf")));
    }

    void firstImportIntoANewFolderMakesItsPhoneBook_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("said");
        QTest::newRow("missing folder") << false << "C.UTF-8"
                                        << "dialvault: made a new empty phone book in ";
        QTest::newRow("empty folder, Persian") << true << "fa_IR.UTF-8"
                                               << "dialvault: دفترچه تلفن تازه و خالي در پوشه ";
    }
    void firstImportIntoANewFolderMakesItsPhoneBook()
    {
        QFETCH(bool, exists);
        QFETCH(QString, language);
        QFETCH(QString, said);
        const QString folder = file(QStringLiteral("new/phone book"));
        if (exists)
            QVERIFY(QDir().mkpath(folder));
        const Run imported = run({"import", "dialvault.csv"}, language, {}, folder);
        QCOMPARE(imported.status, 0);
        QCOMPARE(imported.err, said + folder + (language.startsWith("fa") ? " ساخته شد.\n" : "\n"));
        QCOMPARE(storedRows(QDir(folder).filePath(QStringLiteral("db1.mdb"))).size(), 2);
        // The next import finds it there and says nothing more.
        const Run again = run({"import", "dialvault.csv"}, language, {}, folder);
        QCOMPARE(again.err, QString());
        QCOMPARE(again.status, 0);
    }

    void folderWhoseDb1IsNoPhoneBookIsLeftUntouched_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("import") << "import";
        QTest::newRow("export") << "export";
        QTest::newRow("find") << "find";
    }
    void folderWhoseDb1IsNoPhoneBookIsLeftUntouched()
    {
        QFETCH(QString, command);
        const QString folder = file(QStringLiteral("other"));
        QVERIFY(QDir().mkpath(folder));
        const QString database = QDir(folder).filePath(QStringLiteral("db1.mdb"));
        QVERIFY(QFile::copy(file("not-a-database.mdb"), database));
        QFile original(database);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray bytes = original.readAll();
        original.close();

        const QString argument = command == QLatin1String("import") ? file("dialvault.csv")
            : command == QLatin1String("export")                    ? file("out.vcf")
                                                                    : QStringLiteral("x");
        const Run result = run({command, argument}, QStringLiteral("C.UTF-8"), {}, folder);
        QVERIFY(result.status != 0);
        QVERIFY2(result.err.contains(database), qPrintable(result.err));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), bytes);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"db1.mdb"});
    }

    void persianWhereTheUserReadsIt()
    {
        const Run result = run({"import", "dialvault.csv", "broken-quote.csv", "de.csv"},
                               QStringLiteral("fa_IR.UTF-8"));
        QCOMPARE(result.out,
                 "3 شماره اضافه شد، 0 شماره تکراري کنار گذاشته شد، 0 مورد بي نام و شماره بود. "
                 "پرونده de.csv با رمزگذاري Windows-1252 خوانده شد.\n");
        QVERIFY2(result.err.contains("پرونده broken-quote.csv، سطر 3 اضافه نشد: "),
                 qPrintable(result.err));
        QCOMPARE(result.status, 1);
    }

    void languageOfUseAndMisuse_data()
    {
        QTest::addColumn<QString>("system"); // LC_ALL
        QTest::addColumn<QString>("messages"); // LANGUAGE
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("persian");
        QTest::newRow("LANGUAGE=fa") << "C.UTF-8"
                                     << "fa" << QStringList{} << true;
        QTest::newRow("LANGUAGE=en on a Persian system") << "fa_IR.UTF-8"
                                                         << "en" << QStringList{} << false;
        QTest::newRow("English chosen") << "C.UTF-8"
                                        << "fa" << QStringList{"--language", "en"} << false;
        QTest::newRow("Persian chosen") << "C.UTF-8"
                                        << "en" << QStringList{"--language=fa"} << true;
    }
    // What a command says, and what is said of a mistake in the words
    // themselves, read before the language is known.
    void languageOfUseAndMisuse()
    {
        QFETCH(QString, system);
        QFETCH(QString, messages);
        QFETCH(QStringList, options);
        QFETCH(bool, persian);
        const Run imported
            = run(options + QStringList{"import", "dialvault.csv"}, system, messages);
        QCOMPARE(imported.out,
                 persian ? QStringLiteral("2 شماره اضافه شد، 0 شماره تکراري کنار گذاشته شد، 0 "
                                          "مورد بي نام و شماره بود.\n")
                         : QStringLiteral("2 added, 0 duplicates skipped, 0 without name or "
                                          "number\n"));
        const Run misused = run(options + QStringList{"--frobnicate"}, system, messages);
        QCOMPARE(misused.status, 2);
        QVERIFY2(misused.err.contains(persian ? QStringLiteral("گزينه ناشناخته --frobnicate")
                                              : QStringLiteral("unknown option --frobnicate")),
                 qPrintable(misused.err));
    }
};

QTEST_GUILESS_MAIN(TestContactCommands)
#include "tst_contactcommands.moc"
