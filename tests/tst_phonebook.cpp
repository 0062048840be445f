// The phone book's work on many entries: the number's digits kept in the
// file for any client, importing as one transaction with duplicates
// skipped, and finding by part of a name or number.
#include "store/phonebook.h"
#include "store/searchkeys.h"
#include "store/sqliteengine.h"
#include "store/storeschema.h"
#include "tst_store_fixture.h"

using namespace dialvault;

namespace {

ContactEntry entry(const QString &name, const QString &phone, const QString &note = QString())
{
    return ContactEntry{name, phone, note, 0};
}

QStringList namesOf(const QList<ContactEntry> &entries)
{
    QStringList names;
    for (const ContactEntry &found : entries)
        names.append(found.name);
    return names;
}

QList<ContactEntry> allEntries(PhoneBook &book)
{
    QList<ContactEntry> entries;
    const Status read = book.forEachEntry([&](const ContactEntry &one) {
        entries.append(one);
        return true;
    });
    if (!read.ok())
        qWarning() << read.error.description;
    return entries;
}

QList<ContactEntry> found(PhoneBook &book, const QString &text, PartPlace place)
{
    QList<ContactEntry> entries;
    const Status searched = book.findByPart(PartQuery(text), place, [&](const ContactEntry &one) {
        entries.append(one);
        return true;
    });
    if (!searched.ok())
        qWarning() << searched.error.description;
    return entries;
}

// The plan SQLite chooses for a statement, one step a line.
QString planOf(RawDatabase &raw, const QString &statement, const QVariantList &values)
{
    QStringList steps;
    for (const QVariant &step :
         raw.column(QStringLiteral("EXPLAIN QUERY PLAN ") + statement, values, 3))
        steps.append(step.toString());
    return steps.join(u'\n');
}

} // namespace

class TestPhoneBook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysOfAnyClientAgreeWithTheProgram_data();
    void keysOfAnyClientAgreeWithTheProgram();
    void olderFileIsUpgraded();
    void importNumbersRowsAndSkipsDuplicates();
    void failedImportStoresNothing();
    void duplicatesNearAndFarInALargeImport();
    void findByPart_data();
    void findByPart();
    void startOfAPartIsAnIndexRange_data();
    void startOfAPartIsAnIndexRange();
};

void TestPhoneBook::keysOfAnyClientAgreeWithTheProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("digits");
    QTest::newRow("plain") << "Ali"
                           << "0912 123-4567"
                           << "09121234567";
    QTest::newRow("country code") << "علی"
                                  << "+98 (912) 555.0101"
                                  << "09125550101";
    QTest::newRow("0098") << "كامران"
                          << "0098-21-8888"
                          << "0218888";
    QTest::newRow("persian digits and marks")
        << "سارا" << QStringLiteral("\u200F۰۹۱۲\u00A0۱۱۱\u200E") << "0912111";
    QTest::newRow("arabic-indic digits in brackets") << "x"
                                                     << "[٠٢١] ٨٨"
                                                     << "02188";
    QTest::newRow("unicode dashes and isolates")
        << "y" << QStringLiteral("\u2066021\u2013333\u2212444\u2011555\u2069") << "021333444555";
    QTest::newRow("98 without plus stays") << "z"
                                           << "98 912"
                                           << "98912";
    QTest::newRow("+98 twice") << "z"
                               << "+98098 1"
                               << "01";
    QTest::newRow("letters kept") << "z"
                                  << "0912 ext. 5"
                                  << "0912ext5";
    QTest::newRow("plus inside") << "z"
                                 << "12+34"
                                 << "1234";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

// A plain SQLite client writes the row; the file computes both keys with
// SQLite's own functions, and they must be what the program computes.
void TestPhoneBook::keysOfAnyClientAgreeWithTheProgram()
{
    QFETCH(QString, name);
    QFETCH(QString, phone);
    QFETCH(QString, digits);
    StoreFolder folder;
    QVERIFY(folder.create());
    RawDatabase raw(folder.databasePath());
    QVERIFY2(raw.insert(name, phone, QStringLiteral(""), 1), qPrintable(raw.error));
    QCOMPARE(storedNumberDigits(phone), digits);
    QCOMPARE(raw.scalar(QStringLiteral("SELECT phone_digits FROM test")).toString(), digits);
    QCOMPARE(raw.scalar(QStringLiteral("SELECT folded_name FROM test")).toString(),
             foldedName(name));
}

void TestPhoneBook::olderFileIsUpgraded()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    {
        // The file as the previous version left it: no number columns.
        RawDatabase raw(folder.databasePath());
        QVERIFY(raw.exec(QStringLiteral("DROP INDEX test_phone_digits; "
                                        "ALTER TABLE test DROP COLUMN phone_digits; "
                                        "ALTER TABLE test DROP COLUMN phone_unmarked; "
                                        "ALTER TABLE test DROP COLUMN phone_folded; "
                                        "PRAGMA user_version = 1")));
        QVERIFY(
            raw.insert(QStringLiteral("Old"), QStringLiteral("0912 000"), QStringLiteral(""), 1));
    }
    PhoneBook book(folder.folder());
    QVERIFY(book.open().ok());
    QCOMPARE(namesOf(found(book, QStringLiteral("912000"), PartPlace::Anywhere)),
             QStringList{"Old"});
    RawDatabase raw(folder.databasePath());
    QCOMPARE(raw.scalar(QStringLiteral("PRAGMA user_version")).toInt(), StoreSchema::version);
    QCOMPARE(raw.scalar(QStringLiteral("SELECT n FROM test_count")).toInt(), 1);
    QCOMPARE(raw.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

void TestPhoneBook::importNumbersRowsAndSkipsDuplicates()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    {
        RawDatabase raw(folder.databasePath());
        QVERIFY(raw.insert(QStringLiteral("علی رضایی"), QStringLiteral("0912 123 4567"),
                           QStringLiteral("old"), 7));
        QVERIFY(raw.insert(QVariant(), QStringLiteral("021 5555"), QVariant(), 8));
    }
    PhoneBook book(folder.folder());
    QVERIFY(book.open().ok());
    const Result<ImportCounts> imported = book.importEntries({
        // Same folded name and digits as a stored entry, in other letters and digits.
        entry(QStringLiteral("علي رضايي"), QStringLiteral("+98 ۹۱۲ ۱۲۳ ۴۵۶۷"), "other note"),
        entry(QStringLiteral("علی رضایی"), QStringLiteral("0912 123 4568")), // another number
        entry(QString(), QStringLiteral("021-5555")), // a nameless duplicate of a NULL name
        entry(QStringLiteral("Sara"), QString(), QStringLiteral("no number")),
        entry(QStringLiteral("SARA"), QStringLiteral("")), // duplicate within the import
        entry(QString(), QString(), QStringLiteral("nothing else")),
        entry(QStringLiteral("Reza"), QStringLiteral("1"), QString()),
    });
    QVERIFY2(imported.ok(), qPrintable(imported.error.description));
    QCOMPARE(imported.value.added, 3);
    QCOMPARE(imported.value.duplicates, 3);
    QCOMPARE(imported.value.withoutNameOrNumber, 1);

    const QList<ContactEntry> entries = allEntries(book);
    QCOMPARE(entries.size(), 5);
    // Row numbers go on from the count, as adds from the main window do.
    QCOMPARE(entries[2].phone, QStringLiteral("0912 123 4568"));
    QCOMPARE(entries[2].rowNumber, 3.0);
    QCOMPARE(entries[3].name, QStringLiteral("Sara"));
    QCOMPARE(entries[3].phone, QStringLiteral(""));
    QVERIFY(!entries[3].phone.isNull());
    QCOMPARE(entries[3].rowNumber, 4.0);
    QCOMPARE(entries[4].rowNumber, 5.0);
    QVERIFY(entries[4].note.isEmpty() && !entries[4].note.isNull());
    // NULL, which another program stored, comes back as NULL.
    QVERIFY(entries[1].name.isNull());

    ContactStore store(folder.folder());
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, 5);
}

void TestPhoneBook::failedImportStoresNothing()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    PhoneBook book(folder.folder());
    QVERIFY(book.open().ok());
    // Another program's trigger, put in after the opening, never runs.
    RawDatabase raw(folder.databasePath());
    QVERIFY(raw.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON test WHEN "
                                    "NEW.\"نام\" = 'bad' BEGIN SELECT RAISE(IGNORE); END")));
    const Result<ImportCounts> imported
        = book.importEntries({entry("good", "1"), entry("good too", "2"), entry("bad", "3")});
    QVERIFY(!imported.ok());
    QCOMPARE(imported.error.cause, FailureCause::ForeignSchema);
    QCOMPARE(imported.error.foreignPart, QStringLiteral("trigger refuse"));
    QVERIFY(raw.rows().isEmpty());
    // The phone book is not left locked: once the trigger is gone, the next
    // import goes through.
    QVERIFY(raw.exec(QStringLiteral("DROP TRIGGER refuse")));
    QVERIFY(book.importEntries({entry("good", "1")}).ok());
    QCOMPARE(raw.scalar(QStringLiteral("SELECT n FROM test_count")).toInt(), 1);
}

void TestPhoneBook::duplicatesNearAndFarInALargeImport()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    PhoneBook book(folder.folder());
    QVERIFY(book.open().ok());
    // Each entry comes again in other letters and digits: at once, a few
    // entries later, or far later, when the first is stored long since.
    QList<ContactEntry> entries;
    QStringList expected;
    // Equal digits but for a letter are looked up apart, so they are two
    // entries whether the first is stored already or not.
    const QString same = QStringLiteral("Same");
    entries << entry(same, QStringLiteral("0912 5")) << entry(same, QStringLiteral("0912x5"));
    expected << same << same;
    for (int i = 0; i < 300; ++i) {
        const QString name = QStringLiteral("کاظم %1").arg(i);
        entries.append(entry(name, QStringLiteral("0912 %1").arg(i)));
        expected.append(name);
        const int again = i - (i % 3 == 0 ? 0 : i % 3 == 1 ? 7 : 120);
        if (again >= 0)
            entries.append(entry(QStringLiteral("KAZEM كاظم %1").arg(again).mid(6),
                                 QStringLiteral("+98 ۹۱۲ %1").arg(again)));
    }
    entries << entry(same, QStringLiteral("0912/5"));
    expected << same;
    const Result<ImportCounts> imported = book.importEntries(entries);
    QVERIFY2(imported.ok(), qPrintable(imported.error.description));
    QCOMPARE(imported.value.added, 303);
    QCOMPARE(imported.value.duplicates, entries.size() - 303);
    const QList<ContactEntry> stored = allEntries(book);
    QCOMPARE(namesOf(stored), expected);
    for (qsizetype i = 0; i < stored.size(); ++i)
        QCOMPARE(stored[i].rowNumber, double(i + 1));
}

void TestPhoneBook::findByPart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("atStart");
    QTest::addColumn<QStringList>("names");
    // Stored: see findByPart().
    QTest::newRow("name part, other letter forms") << "رضای" << false << QStringList{"a", "f"};
    QTest::newRow("name start, latin case") << "A علی" << true << QStringList{"a"};
    QTest::newRow("latin case") << "KAM" << false << QStringList{"c"};
    QTest::newRow("digits in a name") << "ب۲" << false << QStringList{"e"};
    QTest::newRow("number part, any script") << "۱۲۳-۴" << false << QStringList{"a", "b"};
    QTest::newRow("number start with country code")
        << QStringLiteral("+98 912") << true << QStringList{"a", "b", "d"};
    QTest::newRow("0098 is 0") << "0098912555" << true << QStringList{"d"};
    QTest::newRow("marks around digits")
        << QStringLiteral("\u200F(0912)\u200E") << true << QStringList{"a", "b", "d"};
    QTest::newRow("number anywhere, not at start") << "9125" << true << QStringList{};
    QTest::newRow("a lone digit looks at numbers")
        << "2" << false << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("quote and percent are literal") << "%'" << false << QStringList{"g"};
    QTest::newRow("nothing") << "zzz" << false << QStringList{};
}

void TestPhoneBook::findByPart()
{
    QFETCH(QString, text);
    QFETCH(bool, atStart);
    QFETCH(QStringList, names);
    StoreFolder folder;
    QVERIFY(folder.create());
    // Names carry a letter so the expected results stay short.
    const QList<std::pair<QString, QString>> stored{
        {"a علی رضایی", "0912 123 4567"},
        {"b", "+98 912 123 4000"},
        {"c Kamran", "021 4444"},
        {"d", "۰۰۹۸ ۹۱۲ ۵۵۵ ۰۱۰۱"},
        {"e ب2", "0512"},
        {"f علي رضايي", QString()},
        {"g 100%'", "7"},
    };
    {
        RawDatabase raw(folder.databasePath());
        for (const auto &[name, phone] : stored)
            QVERIFY(raw.insert(name, phone.isNull() ? QVariant() : QVariant(phone), "", 1));
    }
    PhoneBook book(folder.folder());
    QVERIFY(book.open().ok());
    const PartPlace place = atStart ? PartPlace::Start : PartPlace::Anywhere;
    QStringList letters;
    for (const QString &name : namesOf(found(book, text, place)))
        letters.append(name.left(1));
    QCOMPARE(letters, names);

    // The windows match rows already read with the same decision.
    QStringList matched;
    const PartQuery query(text);
    for (const auto &[name, phone] : stored) {
        if (query.matches(name, phone, place))
            matched.append(name.left(1));
    }
    QCOMPARE(matched, names);
}

void TestPhoneBook::startOfAPartIsAnIndexRange_data()
{
    QTest::addColumn<bool>("number");
    QTest::addColumn<QString>("index");
    QTest::newRow("name") << false << StoreSchema::foldedNameIndex;
    QTest::newRow("number") << true << StoreSchema::phoneDigitsIndex;
}

void TestPhoneBook::startOfAPartIsAnIndexRange()
{
    QFETCH(bool, number);
    QFETCH(QString, index);
    StoreFolder folder;
    QVERIFY(folder.create());
    RawDatabase raw(folder.databasePath());
    const SqliteEngine file(folder.databasePath());
    const QString start = planOf(raw, file.partSearchStatement(number, PartPlace::Start).text,
                                 {QStringLiteral("09"), QStringLiteral("0:")});
    QVERIFY2(
        start.contains(QStringLiteral("SEARCH test USING INDEX %1 (").arg(index))
            || start.contains(QStringLiteral("SEARCH test USING COVERING INDEX %1 (").arg(index)),
        qPrintable(start));
    QVERIFY2(!start.contains(QStringLiteral("SCAN")), qPrintable(start));
    QVERIFY2(!start.contains(QStringLiteral("TEMP B-TREE")), qPrintable(start));
    // Anywhere reads the index's values, never the table's rows one by one.
    const QString anywhere
        = planOf(raw, file.partSearchStatement(number, PartPlace::Anywhere).text, {"9"});
    QVERIFY2(anywhere.contains(QStringLiteral("INDEX %1").arg(index)), qPrintable(anywhere));
    QVERIFY2(!anywhere.contains(QStringLiteral("SCAN test\n")) && !anywhere.endsWith("SCAN test"),
             qPrintable(anywhere));
}

QTEST_GUILESS_MAIN(TestPhoneBook)
#include "tst_phonebook.moc"
