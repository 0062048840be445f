// Contacts files in and out of a phone book: export then import into an
// empty one gives every entry back, and a refused file leaves the phone book
// as it was, its message naming the line.
#include "interchange/contactsimport.h"
#include "interchange/duplicatekey.h"
#include "interchange/phonebookexport.h"
#include "interchange/transfertexts.h"
#include "store/phonebook.h"
#include "support/sqlitefile.h"
#include "tst_store_fixture.h"
#include "words/interfacelanguage.h"

#include <QFile>

using namespace dialvault;

Q_DECLARE_METATYPE(dialvault::ExportFormat)

namespace {

// Texts that break naive writers and readers, stored as another program
// would store them (NULL included).
QList<QVariantList> hostileRows()
{
    QString longNote;
    while (longNote.size() < 10000)
        longNote += QStringLiteral("نیک\u200Cنام 😀 \"q\",;\\\r\n");
    return {
        {QStringLiteral("Quote \"q\", comma; semi\\"), QStringLiteral("+98 (912) 555-0101"),
         QStringLiteral("one\r\ntwo\nthree\rfour")},
        {QStringLiteral("😀 emoji 👍🏽"), QStringLiteral("tel:+98-912"),
         longNote.left(10000)},
        {QStringLiteral("  spaces  "), QStringLiteral("۰۹۱۲ ۱۲۳"), QVariant()},
        {QVariant(), QStringLiteral("0912"), QStringLiteral("BEGIN:VCARD\nEND:VCARD")},
        {QStringLiteral("name only"), QStringLiteral(""), QStringLiteral("")},
        {QStringLiteral(""), QVariant(), QStringLiteral("neither name nor number")},
        // An exact duplicate of the first comes back once.
        {QStringLiteral("Quote \"q\", comma; semi\\"), QStringLiteral("+98 (912) 555-0101"),
         QStringLiteral("one\r\ntwo\nthree\rfour")},
    };
}

QString fileName(ExportFormat format)
{
    return format == ExportFormat::Csv ? QStringLiteral("out.csv") : QStringLiteral("out.vcf");
}

} // namespace

class TestContactFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exportThenImportGivesEveryEntryBack_data();
    void exportThenImportGivesEveryEntryBack();
    void refusedFileChangesNothing_data();
    void refusedFileChangesNothing();
    void exportThatCannotBeWrittenLeavesNothing();
    void emptyPhoneBookComesBackEmpty_data();
    void emptyPhoneBookComesBackEmpty();
    void samePersonFromAnotherFileIsADuplicate();
    void faultFarIntoALargeFileStoresNothing_data();
    void faultFarIntoALargeFileStoresNothing();
};

void TestContactFiles::exportThenImportGivesEveryEntryBack_data()
{
    QTest::addColumn<ExportFormat>("format");
    QTest::newRow("CSV") << ExportFormat::Csv;
    QTest::newRow("vCard 3.0") << ExportFormat::VCard3;
    QTest::newRow("vCard 4.0") << ExportFormat::VCard4;
}

void TestContactFiles::exportThenImportGivesEveryEntryBack()
{
    QFETCH(ExportFormat, format);
    StoreFolder from;
    StoreFolder to;
    QVERIFY(from.create() && to.create());
    {
        RawDatabase raw(from.databasePath());
        for (const QVariantList &row : hostileRows())
            QVERIFY(raw.insert(row[0], row[1], row[2], 1));
    }
    PhoneBook source(from.folder());
    QVERIFY(source.open().ok());
    const QString file = QDir(from.folder()).filePath(fileName(format));
    const Result<qint64> written = exportPhoneBook(source, file, format);
    QVERIFY2(written.ok(), qPrintable(written.error.description));
    QCOMPARE(written.value, hostileRows().size());

    PhoneBook target(to.folder());
    QVERIFY(target.open().ok());
    const FileImport taken = importContactsFile(target, file);
    QVERIFY(taken.ok());
    QCOMPARE(taken.counts.added, 5);
    QCOMPARE(taken.counts.duplicates, 1);
    QCOMPARE(taken.counts.withoutNameOrNumber, 1);

    QList<StoredRow> expected;
    for (const QVariantList &row : hostileRows().mid(0, 5)) {
        // Names and numbers come back trimmed.
        StoredRow back{trimmedText(row[0].toString()), trimmedText(row[1].toString()),
                       row[2].toString(), 0};
        // NULL comes back as empty text; vCard knows one line break, LF.
        for (QString *text : {&back.name, &back.phone, &back.note}) {
            if (text->isNull())
                *text = QStringLiteral("");
            if (format != ExportFormat::Csv)
                text->replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        }
        expected.append(back);
    }
    const QList<StoredRow> stored = storedRows(to.databasePath());
    QCOMPARE(stored.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(stored[i].name, expected[i].name);
        QCOMPARE(stored[i].phone, expected[i].phone);
        QCOMPARE(stored[i].note, expected[i].note);
        QCOMPARE(stored[i].rowNumber, double(i + 1));
    }
}

void TestContactFiles::refusedFileChangesNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    const auto fixture = [](const char *name) {
        QFile file(QStringLiteral(DIALVAULT_TEST_DATA "/interchange/") + QLatin1String(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTest::newRow("quote never closes") << fixture("broken-quote.csv") << 3;
    QTest::newRow("card never ends, line of its start") << fixture("broken-unterminated.vcf") << 6;
    QTest::newRow("binary") << fixture("not-contacts.vcf") << 1;
    // A good file damaged on its third line by a byte that is not UTF-8,
    // after a BOM that says it must be.
    QByteArray damaged = fixture("dialvault.csv");
    damaged.insert(damaged.indexOf('\n', damaged.indexOf('\n') + 1) + 3, '\xFF');
    QTest::newRow("invalid byte after a BOM") << damaged << 3;
}

void TestContactFiles::refusedFileChangesNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    StoreFolder folder;
    QVERIFY(folder.create());
    QVERIFY(RawDatabase(folder.databasePath()).insert("kept", "1", "", 1));
    const QString path = QDir(folder.folder()).filePath(QStringLiteral("in.vcf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    PhoneBook book(folder.folder());
    QVERIFY(book.open().ok());
    const FileImport taken = importContactsFile(book, path);
    QVERIFY(taken.refused.has_value());
    QCOMPARE(taken.refused->line, line);
    QCOMPARE(taken.counts.added, 0);
    QCOMPARE(storedRows(folder.databasePath()).size(), 1);
    QVERIFY(refusedFileText(*taken.refused).contains(QStringLiteral("سطر %1 ").arg(line)));
    QVERIFY(useLanguage(InterfaceLanguage::English));
    QVERIFY(refusedFileText(*taken.refused).contains(QStringLiteral("in.vcf, line %1 ").arg(line)));
    useLanguage(InterfaceLanguage::Persian);
}

void TestContactFiles::exportThatCannotBeWrittenLeavesNothing()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    PhoneBook book(folder.folder());
    QVERIFY(book.open().ok());
    const QString nowhere = QDir(folder.folder()).filePath(QStringLiteral("missing/out.vcf"));
    const Result<qint64> written = exportPhoneBook(book, nowhere, ExportFormat::VCard3);
    QVERIFY(!written.ok());
    QVERIFY(!written.error.description.isEmpty());
    QCOMPARE(QDir(folder.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("db1.mdb")});
}

void TestContactFiles::emptyPhoneBookComesBackEmpty_data()
{
    exportThenImportGivesEveryEntryBack_data();
}

void TestContactFiles::emptyPhoneBookComesBackEmpty()
{
    QFETCH(ExportFormat, format);
    StoreFolder folder;
    QVERIFY(folder.create());
    PhoneBook book(folder.folder());
    QVERIFY(book.open().ok());
    const QString file = QDir(folder.folder()).filePath(fileName(format));
    const Result<qint64> written = exportPhoneBook(book, file, format);
    QVERIFY(written.ok());
    QCOMPARE(written.value, 0);

    const FileImport taken = importContactsFile(book, file);
    QVERIFY2(taken.ok(), qPrintable(taken.refused ? taken.refused->reason : QString()));
    QCOMPARE(taken.counts.added + taken.counts.duplicates + taken.counts.withoutNameOrNumber, 0);
}

void TestContactFiles::samePersonFromAnotherFileIsADuplicate()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    PhoneBook book(folder.folder());
    QVERIFY(book.open().ok());
    const auto import = [&](const QString &name, const QByteArray &bytes) {
        const QString path = QDir(folder.folder()).filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return FileImport{};
        file.close();
        return importContactsFile(book, path);
    };
    // A phone's CR CR LF, then a spreadsheet's spaces and a no-break space.
    const FileImport phone = import(QStringLiteral("phone.vcf"),
                                    "BEGIN:VCARD\r\r\nVERSION:3.0\r\r\nFN:Bob Smith\r\r\n"
                                    "TEL;TYPE=CELL:+98 912 000 1111\r\r\nEND:VCARD\r\r\n");
    QVERIFY(phone.ok());
    QCOMPARE(phone.counts.added, 1);
    const FileImport sheet = import(QStringLiteral("sheet.csv"),
                                    QStringLiteral("Name,Mobile Phone\r\n Bob Smith\u00A0, "
                                                   "0912 000 1111 \r\n")
                                        .toUtf8());
    QVERIFY(sheet.ok());
    QCOMPARE(sheet.counts.added, 0);
    QCOMPARE(sheet.counts.duplicates, 1);

    const QList<StoredRow> stored = storedRows(folder.databasePath());
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.front().name, QStringLiteral("Bob Smith"));
    QCOMPARE(stored.front().phone, QStringLiteral("+98 912 000 1111"));
}

void TestContactFiles::faultFarIntoALargeFileStoresNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    // Entries enough for several pieces of the file, all stored in the
    // transaction before the fault in the last card or row is read.
    constexpr int entries = 40000;
    QByteArray cards;
    QByteArray rows = "Name,Mobile Phone\r\n";
    for (int i = 0; i < entries; ++i) {
        const QByteArray number = QByteArray::number(i);
        cards += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Name " + number + "\r\nTEL:0912 " + number
            + "\r\nEND:VCARD\r\n";
        rows += "Name " + number + ",0912 " + number + "\r\n";
    }
    QTest::newRow("vCard") << cards + "BEGIN:VCARD\r\nFN:Last\r\nno colon\r\nEND:VCARD\r\n"
                           << 5 * entries + 3;
    QTest::newRow("CSV") << rows + "Last,\"never closed\r\n" << entries + 2;
}

void TestContactFiles::faultFarIntoALargeFileStoresNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    StoreFolder folder;
    QVERIFY(folder.create());
    QVERIFY(RawDatabase(folder.databasePath()).insert("kept", "1", "", 1));
    const QString path = QDir(folder.folder()).filePath(QStringLiteral("large"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    PhoneBook book(folder.folder());
    QVERIFY(book.open().ok());
    const FileImport taken = importContactsFile(book, path);
    QVERIFY(taken.refused.has_value());
    QCOMPARE(taken.refused->line, line);
    QCOMPARE(taken.counts.added, 0);
    QCOMPARE(storedRows(folder.databasePath()).size(), 1);
    // The transaction is over: the same phone book takes the next file.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("Name,Mobile Phone\r\nNext,0935\r\n");
    file.close();
    QCOMPARE(importContactsFile(book, path).counts.added, 1);
    QCOMPARE(storedRows(folder.databasePath()).size(), 2);
}

QTEST_GUILESS_MAIN(TestContactFiles)
#include "tst_contactfiles.moc"
