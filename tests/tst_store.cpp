// The contact store's six operations, the open result and their failures,
// as the main window drives them; those that do not depend on a file run on
// both engines from one table of cases.
#include "tst_engines.h"
#include "tst_store_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>

#include <unistd.h>

using namespace dialvault;

namespace {

const QString yehArabic = QStringLiteral("علي"); // U+064A
const QString yehPersian = QStringLiteral("علی"); // U+06CC

ContactEntry entry(const QString &name, const QString &phone, const QString &note = QString(),
                   double rowNumber = 1)
{
    return ContactEntry{name, phone, note, rowNumber};
}

// The refresh the main window runs after every change: reopen, then count.
qint32 refresh(ContactStore &store)
{
    const Status opened = store.open();
    if (!opened.ok())
        return -1;
    return store.countEntries().value;
}

// The add sequence: the row number comes from the count shown, plus one.
bool add(ContactStore &store, const QString &name, const QString &phone,
         const QString &note = QString())
{
    const qint32 shown = refresh(store);
    return store.appendEntry(entry(name, phone, note, shown + 1)).ok();
}

Result<PhoneAndNote> search(ContactStore &store, const QString &name)
{
    Result<PhoneAndNote> result;
    const Status queried = store.queryByName(name);
    if (!queried.ok()) {
        result.error = queried.error;
        return result;
    }
    result = store.readFirstMatch();
    if (result.ok())
        store.closeResult();
    return result;
}

Status remove(ContactStore &store, const QString &name)
{
    const Status queried = store.queryByName(name);
    return queried.ok() ? store.deleteFirstMatch() : queried;
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyTableHasNoEntries_data() { engineRows(); }
    void emptyTableHasNoEntries();
    void entriesAreFoundCountedAndDeleted_data() { engineRows(); }
    void entriesAreFoundCountedAndDeleted();
    void duplicateNamesGoInStorageOrder_data() { engineRows(); }
    void duplicateNamesGoInStorageOrder();
    void addAfterFruitlessSearchLandsInTable_data() { engineRows(); }
    void addAfterFruitlessSearchLandsInTable();
    void nothingOpenRefusesWork_data() { engineRows(); }
    void nothingOpenRefusesWork();
    void storedTextStaysAsTyped_data();
    void storedTextStaysAsTyped();
    void hostileNamesMatchLiterally_data();
    void hostileNamesMatchLiterally();
    void letterVariantsDigitsAndCaseMatch_data();
    void letterVariantsDigitsAndCaseMatch();
    void nullFieldsReadAsEmptyText_data() { engineRows(); }
    void nullFieldsReadAsEmptyText();
    // A file keeps to the entry its query found; a server goes on to the
    // name's next entry (tst_server_processes).
    void rowDeletedElsewhereIsReported_data()
    {
        addEngineColumn();
        engineRow(sqliteEngine, "file");
    }
    void rowDeletedElsewhereIsReported();
    void twoStoresAddingLoseNothing_data() { engineRows(); }
    void twoStoresAddingLoseNothing();
    void missingFileFailsAndIsNotCreated();
    void notADatabaseFails();
    void fileWithoutTableTestFails();
    void failedReopenKeepsPreviousDatabase();
    void readOnlyFileRefusesAddAndKeepsData();
    void lockedFileRefusesAddAndKeepsData();
};

void TestStore::emptyTableHasNoEntries()
{
    ENGINE_BOOK(book, "tst_store");
    ContactStore store(book.source());
    QVERIFY(store.open().ok());
    const Result<qint32> count = store.countEntries();
    QVERIFY(count.ok());
    QCOMPARE(count.value, 0);

    QVERIFY(store.queryByName(yehArabic).ok());
    QCOMPARE(store.readFirstMatch().error.number, int(NoCurrentRecord));
    QCOMPARE(store.readFirstMatch().error.description, QStringLiteral("No current record."));
    QCOMPARE(store.deleteFirstMatch().error.number, int(NoCurrentRecord));
    QCOMPARE(refresh(store), 0);
}

void TestStore::entriesAreFoundCountedAndDeleted()
{
    ENGINE_BOOK(book, "tst_store");
    ContactStore store(book.source());
    QVERIFY(add(store, yehArabic, QStringLiteral("0912"), QStringLiteral("همکار")));
    QVERIFY(add(store, QStringLiteral("مريم"), QStringLiteral("021")));
    QCOMPARE(refresh(store), 2);

    const Result<PhoneAndNote> found = search(store, yehArabic);
    QVERIFY(found.ok());
    QCOMPARE(found.value.phone, QStringLiteral("0912"));
    QCOMPARE(found.value.note, QStringLiteral("همکار"));

    QVERIFY(remove(store, yehArabic).ok());
    QCOMPARE(refresh(store), 1);
    QCOMPARE(search(store, yehArabic).error.number, int(NoCurrentRecord));
    QCOMPARE(remove(store, yehArabic).error.number, int(NoCurrentRecord));
    QVERIFY(search(store, QStringLiteral("مريم")).ok());
    QCOMPARE(refresh(store), 1);
}

void TestStore::duplicateNamesGoInStorageOrder()
{
    ENGINE_BOOK(book, "tst_store");
    ContactStore store(book.source());
    QVERIFY(add(store, yehArabic, QStringLiteral("1")));
    QVERIFY(add(store, QStringLiteral("x"), QStringLiteral("x")));
    QVERIFY(add(store, yehPersian, QStringLiteral("2")));
    QVERIFY(add(store, yehArabic, QStringLiteral("3")));

    for (int i = 0; i < 3; ++i)
        QCOMPARE(search(store, yehPersian).value.phone, QStringLiteral("1"));
    QVERIFY(remove(store, yehArabic).ok());
    QCOMPARE(refresh(store), 3);
    QCOMPARE(search(store, yehArabic).value.phone, QStringLiteral("2"));
    QVERIFY(remove(store, yehArabic).ok());
    QCOMPARE(search(store, yehArabic).value.phone, QStringLiteral("3"));
    QVERIFY(remove(store, yehArabic).ok());
    QCOMPARE(remove(store, yehArabic).error.number, int(NoCurrentRecord));
    QCOMPARE(refresh(store), 1);
}

void TestStore::addAfterFruitlessSearchLandsInTable()
{
    ENGINE_BOOK(book, "tst_store");
    ContactStore store(book.source());
    QCOMPARE(refresh(store), 0);
    QVERIFY(store.queryByName(QStringLiteral("nobody")).ok());
    QCOMPARE(store.readFirstMatch().error.number, int(NoCurrentRecord));
    // The empty query is still open; the add writes through it.
    QVERIFY(store.appendEntry(entry(QStringLiteral("nobody"), QStringLiteral("5"), {}, 1)).ok());
    QCOMPARE(refresh(store), 1);
    QCOMPARE(search(store, QStringLiteral("nobody")).value.phone, QStringLiteral("5"));

    QVERIFY(store.queryByName(QStringLiteral("ghost")).ok());
    QCOMPARE(store.deleteFirstMatch().error.number, int(NoCurrentRecord));
    QVERIFY(store.appendEntry(entry(QStringLiteral("ghost"), QStringLiteral("6"), {}, 2)).ok());
    QCOMPARE(refresh(store), 2);
}

void TestStore::nothingOpenRefusesWork()
{
    ENGINE_BOOK(book, "tst_store");
    ContactStore store(book.source());
    const ContactEntry someone = entry(QStringLiteral("a"), QStringLiteral("1"));

    // Never opened.
    QCOMPARE(store.appendEntry(someone).error.number, int(ObjectNotSet));
    QCOMPARE(store.queryByName(QStringLiteral("a")).error.number, int(ObjectNotSet));
    QCOMPARE(store.countEntries().error.number, int(ObjectNotSet));

    // An add closes the result; only a refresh opens the table again.
    QVERIFY(store.open().ok());
    QVERIFY(store.appendEntry(someone).ok());
    const Status again = store.appendEntry(someone);
    QCOMPARE(again.error.number, int(ObjectNotSet));
    QCOMPARE(again.error.description, QStringLiteral("Object invalid or no longer set."));
    QCOMPARE(store.readFirstMatch().error.number, int(ObjectNotSet));
    QCOMPARE(store.closeResult().error.number, int(ObjectNotSet));
    QCOMPARE(refresh(store), 1);

    // A search that read its entry and closed leaves nothing to delete.
    QVERIFY(search(store, QStringLiteral("a")).ok());
    QCOMPARE(store.deleteFirstMatch().error.number, int(ObjectNotSet));
    QCOMPARE(refresh(store), 1);
}

void TestStore::storedTextStaysAsTyped_data()
{
    addEngineColumn();
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("note");

    for (const QString &engine : {sqliteEngine, serverEngine}) {
        engineRow(engine, "persian letters and digits")
            << QStringLiteral("نگار یزدانی") << QStringLiteral("۰۹۱۲ ۰۰۰")
            << QStringLiteral("کلاس زبان، سه‌شنبه‌ها");
        engineRow(engine, "trailing and leading spaces")
            << QStringLiteral(" زهرا ") << QStringLiteral("0912 ") << QStringLiteral(" ");
        engineRow(engine, "empty note")
            << QStringLiteral("مريم") << QStringLiteral("021") << QStringLiteral("");
        engineRow(engine, "null note is empty text")
            << QStringLiteral("مريم") << QStringLiteral("021") << QString();
        engineRow(engine, "line breaks and tabs")
            << QStringLiteral("a\nb") << QStringLiteral("1\t2") << QStringLiteral("line1\r\nline2");
        engineRow(engine, "latin case and zwnj")
            << QStringLiteral("Ma'soumeh KARIMI") << QStringLiteral("+98")
            << QStringLiteral("نيک‌نام");
        engineRow(engine, "long text")
            << QString(5000, QChar(0x0643)) << QString(300, u'9') << QString(70000, u'x');
    }
}

void TestStore::storedTextStaysAsTyped()
{
    QFETCH(QString, name);
    QFETCH(QString, phone);
    QFETCH(QString, note);
    ENGINE_BOOK(book, "tst_store");
    ContactStore store(book.source());
    QVERIFY(add(store, name, phone, note));

    const Result<PhoneAndNote> found = search(store, name);
    QVERIFY(found.ok());
    QCOMPARE(found.value.phone, phone);
    QCOMPARE(found.value.note, note.isNull() ? QStringLiteral("") : note);
    QVERIFY(!found.value.note.isNull());

    QCOMPARE(book.scalar(QStringLiteral("SELECT \"نام\" FROM test")).toString(), name);
    QVERIFY(book.scalar(book.isServer()
                            ? QStringLiteral("SELECT \"يادداشت\" IS NOT NULL FROM test")
                            : QStringLiteral("SELECT typeof(\"يادداشت\") = 'text' FROM test"))
                .toBool());
}

void TestStore::hostileNamesMatchLiterally_data()
{
    addEngineColumn();
    QTest::addColumn<QString>("name");

    for (const QString &engine : {sqliteEngine, serverEngine}) {
        engineRow(engine, "single quote") << QStringLiteral("Ma'soumeh");
        engineRow(engine, "injection") << QStringLiteral("x' OR '1'='1");
        engineRow(engine, "double quote") << QStringLiteral("say \"hi\"");
        engineRow(engine, "statement end") << QStringLiteral("a'; DROP TABLE test; --");
        engineRow(engine, "comment") << QStringLiteral("-- a");
        engineRow(engine, "percent") << QStringLiteral("%");
        engineRow(engine, "underscore") << QStringLiteral("a_c");
        engineRow(engine, "backslash") << QStringLiteral("a\\'c");
        engineRow(engine, "newline") << QStringLiteral("a\nc");
        engineRow(engine, "question mark") << QStringLiteral("?");
    }
}

void TestStore::hostileNamesMatchLiterally()
{
    QFETCH(QString, name);
    ENGINE_BOOK(book, "tst_store");
    ContactStore store(book.source());
    // Decoys that a pattern or a broken quote would reach.
    for (const QString &decoy : {QStringLiteral("abc"), QStringLiteral("a c"), QStringLiteral("x"),
                                 QStringLiteral("1"), QStringLiteral("")})
        QVERIFY(add(store, decoy, QStringLiteral("decoy")));

    QCOMPARE(search(store, name).error.number, int(NoCurrentRecord));
    QCOMPARE(remove(store, name).error.number, int(NoCurrentRecord));
    QCOMPARE(refresh(store), 5);

    QVERIFY(add(store, name, QStringLiteral("target")));
    QCOMPARE(search(store, name).value.phone, QStringLiteral("target"));
    QVERIFY(remove(store, name).ok());
    QCOMPARE(refresh(store), 5);
    QCOMPARE(search(store, QStringLiteral("abc")).value.phone, QStringLiteral("decoy"));
}

void TestStore::letterVariantsDigitsAndCaseMatch_data()
{
    addEngineColumn();
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("matches");

    for (const QString &engine : {sqliteEngine, serverEngine}) {
        engineRow(engine, "arabic yeh found by persian") << yehArabic << yehPersian << true;
        engineRow(engine, "persian yeh found by arabic") << yehPersian << yehArabic << true;
        engineRow(engine, "alef maksura")
            << QStringLiteral("موسى") << QStringLiteral("موسی") << true;
        engineRow(engine, "keheh found by arabic kaf")
            << QStringLiteral("کامران") << QStringLiteral("كامران") << true;
        engineRow(engine, "arabic kaf found by keheh")
            << QStringLiteral("كامران") << QStringLiteral("کامران") << true;
        engineRow(engine, "mixed letters and digits")
            << QStringLiteral("کلاس ۱۲") << QStringLiteral("كلاس 12") << true;
        engineRow(engine, "persian digits by arabic-indic")
            << QStringLiteral("۰۱۲۳۴۵۶۷۸۹") << QStringLiteral("٠١٢٣٤٥٦٧٨٩") << true;
        engineRow(engine, "ascii digits by persian")
            << QStringLiteral("0123456789") << QStringLiteral("۰۱۲۳۴۵۶۷۸۹") << true;
        engineRow(engine, "latin case")
            << QStringLiteral("Ali Rezaei") << QStringLiteral("aLI REZAEI") << true;
        engineRow(engine, "trailing space differs") << yehArabic << yehArabic + u' ' << false;
        engineRow(engine, "zwnj is not a space")
            << QStringLiteral("نيک‌نام") << QStringLiteral("نيک نام") << false;
        engineRow(engine, "hamza alef is not alef")
            << QStringLiteral("أحمد") << QStringLiteral("احمد") << false;
        engineRow(engine, "teh marbuta is not heh")
            << QStringLiteral("فاطمة") << QStringLiteral("فاطمه") << false;
        engineRow(engine, "digits are not letters")
            << QStringLiteral("1") << QStringLiteral("l") << false;
    }
}

void TestStore::letterVariantsDigitsAndCaseMatch()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, matches);
    ENGINE_BOOK(book, "tst_store");
    ContactStore store(book.source());
    QVERIFY(add(store, stored, QStringLiteral("1")));

    const Result<PhoneAndNote> found = search(store, typed);
    QCOMPARE(found.ok(), matches);
    if (!matches)
        QCOMPARE(found.error.number, int(NoCurrentRecord));
    // Whatever matched, the stored name is untouched.
    QCOMPARE(book.scalar(QStringLiteral("SELECT \"نام\" FROM test")).toString(), stored);
}

void TestStore::nullFieldsReadAsEmptyText()
{
    ENGINE_BOOK(book, "tst_store");
    QVERIFY(book.insert(QStringLiteral("no phone"), QVariant(), QStringLiteral("n"), 1));
    QVERIFY(book.insert(QStringLiteral("no note"), QStringLiteral("7"), QVariant(), 2));
    QVERIFY(book.insert(QVariant(), QStringLiteral("8"), QStringLiteral("n"), 3));
    ContactStore store(book.source());
    QCOMPARE(refresh(store), 3);

    QVERIFY(store.queryByName(QStringLiteral("no phone")).ok());
    const Result<PhoneAndNote> noPhone = store.readFirstMatch();
    QVERIFY(noPhone.ok());
    QCOMPARE(noPhone.value.phone, QString());
    QCOMPARE(noPhone.value.note, QStringLiteral("n"));

    QVERIFY(store.queryByName(QStringLiteral("no note")).ok());
    const Result<PhoneAndNote> noNote = store.readFirstMatch();
    QVERIFY(noNote.ok());
    QCOMPARE(noNote.value.phone, QStringLiteral("7"));
    QCOMPARE(noNote.value.note, QString());

    // A row without a name can be neither found nor hurt by a search for the empty name.
    QCOMPARE(search(store, QStringLiteral("")).error.number, int(NoCurrentRecord));
    QVERIFY(remove(store, QStringLiteral("no note")).ok());
    QCOMPARE(refresh(store), 2);
}

void TestStore::rowDeletedElsewhereIsReported()
{
    ENGINE_BOOK(book, "tst_store");
    ContactStore mine(book.source());
    ContactStore other(book.source());
    QVERIFY(add(mine, yehArabic, QStringLiteral("1")));
    QVERIFY(add(mine, yehArabic, QStringLiteral("2")));

    QVERIFY(mine.queryByName(yehArabic).ok());
    QCOMPARE(refresh(other), 2);
    QVERIFY(remove(other, yehArabic).ok());

    const Result<PhoneAndNote> read = mine.readFirstMatch();
    QCOMPARE(read.error.number, int(RecordIsDeleted));
    QCOMPARE(read.error.description, QStringLiteral("Record is deleted."));
    QCOMPARE(mine.deleteFirstMatch().error.number, int(RecordIsDeleted));
    // The second entry must not be deleted in the first one's place.
    QCOMPARE(refresh(mine), 1);
    QCOMPARE(search(mine, yehArabic).value.phone, QStringLiteral("2"));
}

void TestStore::twoStoresAddingLoseNothing()
{
    ENGINE_BOOK(book, "tst_store");
    ContactStore first(book.source());
    ContactStore second(book.source());
    QCOMPARE(refresh(first), 0);
    QCOMPARE(refresh(second), 0);
    for (int i = 0; i < 20; ++i) {
        ContactStore &store = i % 2 ? second : first;
        QVERIFY(store.appendEntry(entry(QString::number(i), QStringLiteral("p"))).ok());
        QVERIFY(store.open().ok());
    }
    QCOMPARE(first.countEntries().value, 20);
    QCOMPARE(second.countEntries().value, 20);
    QCOMPARE(book.scalar(QStringLiteral("SELECT COUNT(*) FROM test")).toInt(), 20);
    for (int i = 0; i < 20; ++i)
        QVERIFY(search(first, QString::number(i)).ok());
}

void TestStore::missingFileFailsAndIsNotCreated()
{
    StoreFolder folder;
    ContactStore store(folder.folder());
    const Status opened = store.open();
    QVERIFY(!opened.ok());
    QCOMPARE(opened.error.number, SQLITE_CANTOPEN);
    QVERIFY(!opened.error.description.isEmpty());
    QVERIFY(!QFile::exists(folder.databasePath()));
    QVERIFY(QDir(folder.folder()).isEmpty());

    ContactStore nowhere(folder.folder() + QStringLiteral("/missing folder"));
    QVERIFY(!nowhere.open().ok());
}

void TestStore::notADatabaseFails()
{
    const QString fixture = QStringLiteral(DIALVAULT_TEST_DATA "/not-a-database.mdb");
    QVERIFY2(QFile::exists(fixture), qPrintable(fixture));
    StoreFolder folder;
    QVERIFY(QFile::copy(fixture, folder.databasePath()));
    QFile::setPermissions(folder.databasePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile original(fixture);
    QVERIFY(original.open(QIODevice::ReadOnly));

    ContactStore store(folder.folder());
    const Status opened = store.open();
    QCOMPARE(opened.error.number, SQLITE_NOTADB);
    QVERIFY(!opened.error.description.isEmpty());
    QFile copy(folder.databasePath());
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), original.readAll());
}

void TestStore::fileWithoutTableTestFails()
{
    StoreFolder folder;
    {
        QFile empty(folder.databasePath());
        QVERIFY(empty.open(QIODevice::WriteOnly));
    }
    {
        RawDatabase raw(folder.databasePath());
        QVERIFY(raw.exec(QStringLiteral("CREATE TABLE contacts (\"نام\" TEXT)")));
    }
    ContactStore store(folder.folder());
    const Status opened = store.open();
    QVERIFY(!opened.ok());
    QVERIFY(opened.error.description.contains(QStringLiteral("test")));
    QCOMPARE(store.queryByName(QStringLiteral("a")).error.number == 0, false);

    // Nothing was added to a file that is not ours.
    RawDatabase raw(folder.databasePath());
    QCOMPARE(raw.column(QStringLiteral("SELECT name FROM sqlite_master")),
             QVariantList({QStringLiteral("contacts")}));
}

void TestStore::failedReopenKeepsPreviousDatabase()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    ContactStore store(folder.folder());
    QVERIFY(add(store, yehArabic, QStringLiteral("1")));
    QCOMPARE(refresh(store), 1);

    const QString moved = folder.databasePath() + QStringLiteral(".away");
    QVERIFY(QFile::rename(folder.databasePath(), moved));
    QCOMPARE(store.open().error.number, SQLITE_CANTOPEN);
    QVERIFY(!QFile::exists(folder.databasePath()));
    QVERIFY(QFile::rename(moved, folder.databasePath()));
    QCOMPARE(store.countEntries().value, 1);
    QVERIFY(search(store, yehArabic).ok());
}

void TestStore::readOnlyFileRefusesAddAndKeepsData()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    ContactStore store(folder.folder());
    QVERIFY(add(store, yehArabic, QStringLiteral("1")));

    QVERIFY(QFile::setPermissions(folder.databasePath(),
                                  QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    // Permissions do not bind root; an immutable file does.
    const bool immutable = geteuid() == 0
        && QProcess::execute(QStringLiteral("chattr"),
                             {QStringLiteral("+i"), folder.databasePath()})
            == 0;
    const auto restore = qScopeGuard([&] {
        if (immutable)
            QProcess::execute(QStringLiteral("chattr"),
                              {QStringLiteral("-i"), folder.databasePath()});
        QFile::setPermissions(folder.databasePath(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    });
    if (QFile(folder.databasePath()).open(QIODevice::ReadWrite))
        QSKIP("cannot make a file read-only here");

    QCOMPARE(refresh(store), 1);
    const Status added = store.appendEntry(entry(QStringLiteral("new"), QStringLiteral("2")));
    QCOMPARE(added.error.number, SQLITE_READONLY);
    QVERIFY(!added.error.description.isEmpty());
    QCOMPARE(store.queryByName(yehArabic).ok(), true);
    QCOMPARE(store.deleteFirstMatch().error.number, SQLITE_READONLY);

    // Reading still works and nothing changed.
    QCOMPARE(refresh(store), 1);
    QVERIFY(search(store, yehArabic).ok());
    QCOMPARE(search(store, QStringLiteral("new")).error.number, int(NoCurrentRecord));
}

void TestStore::lockedFileRefusesAddAndKeepsData()
{
    StoreFolder folder;
    QVERIFY(folder.create());
    ContactStore store(folder.folder());
    QVERIFY(add(store, yehArabic, QStringLiteral("1")));
    QCOMPARE(refresh(store), 1);

    RawDatabase locker(folder.databasePath());
    QVERIFY(locker.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    const Status added = store.appendEntry(entry(QStringLiteral("new"), QStringLiteral("2")));
    QCOMPARE(added.error.number, SQLITE_BUSY);
    QVERIFY(locker.exec(QStringLiteral("COMMIT")));

    // The failed add left no row; the table is still open for a retry.
    QVERIFY(store.appendEntry(entry(QStringLiteral("new"), QStringLiteral("2"))).ok());
    QCOMPARE(refresh(store), 2);
    RawDatabase raw(folder.databasePath());
    QCOMPARE(raw.scalar(QStringLiteral("SELECT COUNT(*) FROM test")).toInt(), 2);
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
