// Correcting entries, deleting chosen ones, putting them back, and undoing
// and redoing steps, on both engines; another store or program on the same
// phone book plays another person.
#include "tst_engines.h"

#include "store/cardlinks.h"
#include "store/contactstore.h"
#include "store/edithistory.h"
#include "store/phonebook.h"

using namespace dialvault;

namespace {

const QString book = QStringLiteral("https://cards.example/book/");

// Every entry as "name|phone|note", in key order.
QStringList entriesOf(const PhoneBookSource &source)
{
    PhoneBook phoneBook(source);
    QStringList all;
    if (!phoneBook.open().ok())
        return {QStringLiteral("not opened")};
    phoneBook.forEachEntry([&](const ContactEntry &entry) {
        all.append(entry.name + u'|' + entry.phone + u'|' + entry.note);
        return true;
    });
    return all;
}

// Every entry with its key, in key order.
QList<KeyedEntry> keyedOf(const PhoneBookSource &source)
{
    CardLinks links(source, book);
    QList<KeyedEntry> all;
    QString token;
    if (links.open().ok())
        links.read(
            token, [&](const KeyedEntry &entry) { all.append(entry); }, [](const CardLink &) {});
    return all;
}

// An add as the main window makes it; its key.
qint64 added(ContactStore &store, const EntryTexts &texts)
{
    if (!store.open().ok())
        return 0;
    const qint32 count = store.countEntries().value;
    if (!store.appendEntry({texts.name, texts.phone, texts.note, count + 1.0}).ok())
        return 0;
    return store.lastAddedKey();
}

const EntryTexts sara{QStringLiteral("سارا"), QStringLiteral("0912 111"), QStringLiteral("کار")};
const EntryTexts kamran{QStringLiteral("كامران"), QStringLiteral("0935 222"), {}};

} // namespace

class TestEditHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void correctionIsStoredOnlyOverWhatWasSeen_data();
    void correctionIsStoredOnlyOverWhatWasSeen();
    void chosenEntriesAreDeletedAllOrNone_data() { engineRows(); }
    void chosenEntriesAreDeletedAllOrNone();
    void putBackEntriesAreNumberedAndKeepTheirLinks_data() { engineRows(); }
    void putBackEntriesAreNumberedAndKeepTheirLinks();
    void deletedAreKeptAcrossRestartsThenPurged_data() { engineRows(); }
    void deletedAreKeptAcrossRestartsThenPurged();
    void stepsAreUndoneAndRedone_data();
    void stepsAreUndoneAndRedone();
    void stepOverAnotherPersonsChangeIsRefusedAndKept_data() { engineRows(); }
    void stepOverAnotherPersonsChangeIsRefusedAndKept();
    void laterStepsFollowEntriesPutBack_data() { engineRows(); }
    void laterStepsFollowEntriesPutBack();
};

void TestEditHistory::correctionIsStoredOnlyOverWhatWasSeen_data()
{
    addEngineColumn();
    QTest::addColumn<QString>("meanwhile"); // what another person does first
    QTest::addColumn<int>("state");
    for (const QString &engine : {sqliteEngine, serverEngine}) {
        engineRow(engine, "nobody") << QString() << int(EntryState::AsExpected);
        engineRow(engine, "changed")
            << QStringLiteral("change") << int(EntryState::ChangedMeanwhile);
        engineRow(engine, "deleted")
            << QStringLiteral("delete") << int(EntryState::DeletedMeanwhile);
    }
}

void TestEditHistory::correctionIsStoredOnlyOverWhatWasSeen()
{
    ENGINE_BOOK(phoneBook, "tst_edithistory");
    QFETCH(QString, meanwhile);
    QFETCH(int, state);
    ContactStore mine(phoneBook.source());
    const qint64 key = added(mine, sara);
    QVERIFY(key != 0);
    // The note was stored empty by another program: NULL is the empty text.
    QVERIFY(phoneBook.insert(kamran.name, kamran.phone, QVariant(), 2));

    ContactStore theirs(phoneBook.source());
    const EntryTexts theirChange{sara.name, QStringLiteral("0912 999"), sara.note};
    if (meanwhile == QLatin1String("change"))
        QCOMPARE(theirs.correctEntry(key, sara, theirChange).value.state, EntryState::AsExpected);
    if (meanwhile == QLatin1String("delete"))
        QVERIFY(theirs.deleteEntries({{key, sara}}).value.ids.size() == 1);

    const EntryTexts mineNow{sara.name, QStringLiteral("0912 112"), sara.note};
    const Result<EntryNow> corrected = mine.correctEntry(key, sara, mineNow);
    QVERIFY2(corrected.ok(), qPrintable(corrected.error.description));
    QCOMPARE(int(corrected.value.state), state);

    // What is stored, seen afresh as after a restart.
    const QStringList stored = entriesOf(phoneBook.source());
    const QString kamranRow = kamran.name + u'|' + kamran.phone + u'|';
    if (meanwhile.isEmpty()) {
        QCOMPARE(stored, (QStringList{sara.name + u"|0912 112|"_qs + sara.note, kamranRow}));
    } else if (meanwhile == QLatin1String("change")) {
        QCOMPARE(corrected.value.texts, theirChange);
        QCOMPARE(stored, (QStringList{sara.name + u"|0912 999|"_qs + sara.note, kamranRow}));
    } else {
        QCOMPARE(stored, QStringList{kamranRow});
    }
    // The row number is not the correction's to change; NULL matches empty.
    QCOMPARE(phoneBook.scalar(QStringLiteral("SELECT min(\"رديف\") FROM test")).toDouble(),
             meanwhile == QLatin1String("delete") ? 2.0 : 1.0);
    const qint64 kamranKey = keyedOf(phoneBook.source()).last().key;
    QCOMPARE(mine.correctEntry(kamranKey, kamran, {kamran.name, kamran.phone, QStringLiteral("n")})
                 .value.state,
             EntryState::AsExpected);
}

void TestEditHistory::chosenEntriesAreDeletedAllOrNone()
{
    ENGINE_BOOK(phoneBook, "tst_edithistory");
    ContactStore store(phoneBook.source());
    const qint64 first = added(store, sara);
    const qint64 second = added(store, kamran);
    const qint64 third = added(store, {QStringLiteral("c"), QStringLiteral("3"), {}});
    QVERIFY(first && second && third);

    // Another person changed one of them: none goes.
    ContactStore theirs(phoneBook.source());
    const EntryTexts changed{kamran.name, QStringLiteral("1"), {}};
    QCOMPARE(theirs.correctEntry(second, kamran, changed).value.state, EntryState::AsExpected);
    const Result<EntriesDeleted> refused = store.deleteEntries({{first, sara}, {second, kamran}});
    QVERIFY(refused.ok());
    QVERIFY(refused.value.refused);
    QVERIFY(refused.value.ids.isEmpty());
    QCOMPARE(refused.value.meanwhile.size(), 1);
    QCOMPARE(refused.value.meanwhile[0].key, second);
    QCOMPARE(refused.value.meanwhile[0].texts, changed);
    QCOMPARE(entriesOf(phoneBook.source()).size(), 3);
    QVERIFY(store.recentlyDeleted().value.isEmpty());

    const Result<EntriesDeleted> deleted = store.deleteEntries({{first, sara}, {second, changed}});
    QVERIFY(deleted.ok() && !deleted.value.refused);
    QCOMPARE(deleted.value.ids.size(), 2);
    QCOMPARE(entriesOf(phoneBook.source()), QStringList{u"c|3|"_qs});
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, 1);
    const QList<DeletedEntry> kept = store.recentlyDeleted().value;
    QCOMPARE(kept.size(), 2);
    // Newest first, each as it was stored.
    QCOMPARE(kept[0].id, deleted.value.ids[1]);
    QCOMPARE(kept[0].keyed(), (KeyedEntry{second, changed}));
    QCOMPARE(kept[1].keyed(), (KeyedEntry{first, sara}));
    QCOMPARE(kept[1].fields.rowNumber, std::optional<double>(1));
    QCOMPARE(kept[1].reason, DeletionReason::ByPerson);

    // Deleting by name keeps the entry too.
    QVERIFY(store.queryByName(QStringLiteral("C")).ok() && store.deleteFirstMatch().ok());
    QCOMPARE(store.lastDeleted().key, third);
    QCOMPARE(store.recentlyDeleted(1).value.value(0).id, store.lastDeleted().id);
}

void TestEditHistory::putBackEntriesAreNumberedAndKeepTheirLinks()
{
    ENGINE_BOOK(phoneBook, "tst_edithistory");
    ContactStore store(phoneBook.source());
    const qint64 first = added(store, sara);
    QVERIFY(added(store, kamran) != 0);
    CardLinks links(phoneBook.source(), book);
    QVERIFY(links.open().ok());
    LinkChanges linked;
    linked.links
        = {{first, QStringLiteral("/book/sara.vcf"), QStringLiteral("e1"), QStringLiteral("s1")}};
    QCOMPARE(links.apply(linked).value, LinkApplied::Done);

    const Result<EntriesDeleted> deleted = store.deleteEntries({{first, sara}});
    QVERIFY(deleted.ok() && deleted.value.ids.size() == 1);
    const Result<EntriesRestored> restored = store.restoreDeleted(deleted.value.ids);
    QVERIFY(restored.ok() && restored.value.done());
    QCOMPARE(restored.value.keys.size(), 1);
    const qint64 key = restored.value.keys[0];
    QVERIFY(key != first);
    // Numbered as an add is: the count plus 1.
    QCOMPARE(phoneBook
                 .scalar(phoneBook.isServer()
                             ? QStringLiteral("SELECT \"رديف\" FROM test WHERE id = ?")
                             : QStringLiteral("SELECT \"رديف\" FROM test WHERE rowid = ?"),
                         {key})
                 .toDouble(),
             2.0);
    QCOMPARE(keyedOf(phoneBook.source()).last(), (KeyedEntry{key, sara}));
    QList<CardLink> now;
    QString token;
    QVERIFY(links
                .read(
                    token, [](const KeyedEntry &) {}, [&](const CardLink &l) { now.append(l); })
                .ok());
    QCOMPARE(now.size(), 1);
    QCOMPARE(now[0].entry, key);
    QCOMPARE(now[0].etag, QStringLiteral("e1"));
    QVERIFY(store.recentlyDeleted().value.isEmpty());

    // Put back once: a second time finds nothing and puts nothing back.
    const Result<EntriesRestored> again = store.restoreDeleted(deleted.value.ids);
    QVERIFY(again.ok());
    QCOMPARE(again.value.missing, deleted.value.ids);
    QCOMPARE(entriesOf(phoneBook.source()).size(), 2);

    // An entry a sync put aside is among them, not in the phone book.
    LinkChanges conflict;
    conflict.putAside = {{QStringLiteral("ours"), QStringLiteral("5"), {}}};
    QCOMPARE(links.apply(conflict).value, LinkApplied::Done);
    const QList<DeletedEntry> kept = store.recentlyDeleted().value;
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept[0].reason, DeletionReason::SyncConflict);
    QCOMPARE(kept[0].fields.name, QStringLiteral("ours"));
    QCOMPARE(entriesOf(phoneBook.source()).size(), 2);
}

void TestEditHistory::deletedAreKeptAcrossRestartsThenPurged()
{
    ENGINE_BOOK(phoneBook, "tst_edithistory");
    const QDateTime deletedAt(QDate(2026, 3, 20), QTime(23, 30, 15, 250), Qt::UTC);
    {
        ContactStore store(phoneBook.source());
        store.setClock([&] { return deletedAt; });
        const qint64 key = added(store, sara);
        QVERIFY(added(store, kamran) != 0);
        QVERIFY(store.deleteEntries({{key, sara}}).ok());
        store.setClock([&] { return deletedAt.addDays(20); });
        QVERIFY(store.queryByName(kamran.name).ok() && store.deleteFirstMatch().ok());
    }
    ContactStore restarted(phoneBook.source());
    QVERIFY(restarted.open().ok());
    QCOMPARE(restarted.purgeDeleted(deletedAt.addDays(30)).value, 0);
    QList<DeletedEntry> kept = restarted.recentlyDeleted().value;
    QCOMPARE(kept.size(), 2);
    QCOMPARE(kept[1].deletedAt, deletedAt);
    QCOMPARE(kept[0].deletedAt, deletedAt.addDays(20));

    QCOMPARE(restarted.purgeDeleted(deletedAt.addDays(30).addSecs(1)).value, 1);
    kept = restarted.recentlyDeleted().value;
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept[0].fields.name, kamran.name);
    QCOMPARE(restarted.purgeDeleted(deletedAt.addDays(51)).value, 1);
    QVERIFY(restarted.recentlyDeleted().value.isEmpty());
}

void TestEditHistory::stepsAreUndoneAndRedone_data()
{
    addEngineColumn();
    QTest::addColumn<int>("step");
    for (const QString &engine : {sqliteEngine, serverEngine}) {
        engineRow(engine, "add") << int(EditStep::Add);
        engineRow(engine, "delete") << int(EditStep::Delete);
        engineRow(engine, "correction") << int(EditStep::Correction);
        engineRow(engine, "import") << int(EditStep::Import);
    }
}

void TestEditHistory::stepsAreUndoneAndRedone()
{
    ENGINE_BOOK(phoneBook, "tst_edithistory");
    QFETCH(int, step);
    ContactStore store(phoneBook.source());
    const qint64 first = added(store, sara);
    QVERIFY(first != 0);
    const QStringList before = entriesOf(phoneBook.source());

    EditHistory history;
    QVERIFY(!history.canUndo());
    switch (EditStep(step)) {
    case EditStep::Add:
        history.recordAdd(added(store, kamran), kamran);
        break;
    case EditStep::Delete: {
        const Result<EntriesDeleted> deleted = store.deleteEntries({{first, sara}});
        QVERIFY(deleted.ok());
        history.recordDelete({{first, sara}}, deleted.value.ids);
        break;
    }
    case EditStep::Correction: {
        const EntryTexts now{sara.name, QStringLiteral("021 5"), {}};
        QCOMPARE(store.correctEntry(first, sara, now).value.state, EntryState::AsExpected);
        history.recordCorrection(first, sara, now);
        break;
    }
    case EditStep::Import: {
        PhoneBook importing(phoneBook.source());
        QVERIFY(importing.open().ok());
        QList<ContactEntry> cards;
        for (int i = 0; i < 120; ++i)
            cards.append({QStringLiteral("n%1").arg(i), QString::number(1000 + i), {}, 0});
        cards.append({sara.name, sara.phone, {}, 0}); // a duplicate, not stored
        const Result<ImportCounts> imported = importing.importEntries(cards);
        QVERIFY(imported.ok());
        QCOMPARE(imported.value.stored.count(), 120);
        history.recordImport(imported.value.stored);
        break;
    }
    }
    const QStringList after = entriesOf(phoneBook.source());
    QVERIFY(after != before);
    QCOMPARE(history.nextUndo(), std::optional(EditStep(step)));

    for (int round = 0; round < 2; ++round) {
        const Result<EditOutcome> undone = history.undo(store);
        QVERIFY2(undone.ok(), qPrintable(undone.error.description));
        QCOMPARE(undone.value.step, std::optional(EditStep(step)));
        QVERIFY(!undone.value.refused);
        QCOMPARE(entriesOf(phoneBook.source()).size(), before.size());
        QVERIFY(!history.canUndo() && history.canRedo());

        const Result<EditOutcome> redone = history.redo(store);
        QVERIFY2(redone.ok(), qPrintable(redone.error.description));
        QVERIFY(!redone.value.refused);
        // Entries put back come last, with new keys: compared as a set.
        QStringList now = entriesOf(phoneBook.source());
        QStringList expected = after;
        now.sort();
        expected.sort();
        QCOMPARE(now, expected);
        QVERIFY(history.canUndo() && !history.canRedo());
    }
    QVERIFY(store.open().ok());
    QCOMPARE(store.countEntries().value, after.size());
}

void TestEditHistory::stepOverAnotherPersonsChangeIsRefusedAndKept()
{
    ENGINE_BOOK(phoneBook, "tst_edithistory");
    ContactStore store(phoneBook.source());
    EditHistory history;
    const qint64 key = added(store, sara);
    history.recordAdd(key, sara);

    ContactStore theirs(phoneBook.source());
    const EntryTexts theirChange{sara.name, QStringLiteral("9"), {}};
    QCOMPARE(theirs.correctEntry(key, sara, theirChange).value.state, EntryState::AsExpected);
    const Result<EditOutcome> refused = history.undo(store);
    QVERIFY(refused.ok());
    QVERIFY(refused.value.refused);
    QCOMPARE(refused.value.meanwhile.value(0).texts, theirChange);
    QCOMPARE(entriesOf(phoneBook.source()).size(), 1);
    // The step stays, and is undone once the entry holds what it left.
    QVERIFY(history.canUndo() && !history.canRedo());
    QCOMPARE(theirs.correctEntry(key, theirChange, sara).value.state, EntryState::AsExpected);
    const Result<EditOutcome> undone = history.undo(store);
    QVERIFY(undone.ok() && !undone.value.refused);
    QVERIFY(entriesOf(phoneBook.source()).isEmpty());

    // Put back meanwhile by another person: the redo is refused, not doubled.
    const QList<DeletedEntry> kept = theirs.recentlyDeleted().value;
    QCOMPARE(kept.size(), 1);
    QVERIFY(theirs.restoreDeleted({kept[0].id}).value.done());
    const Result<EditOutcome> redo = history.redo(store);
    QVERIFY(redo.ok() && redo.value.refused);
    QCOMPARE(entriesOf(phoneBook.source()).size(), 1);
    QVERIFY(history.canRedo());
}

void TestEditHistory::laterStepsFollowEntriesPutBack()
{
    ENGINE_BOOK(phoneBook, "tst_edithistory");
    ContactStore store(phoneBook.source());
    EditHistory history;
    const qint64 key = added(store, sara);
    history.recordAdd(key, sara);
    const EntryTexts corrected{sara.name, QStringLiteral("7"), sara.note};
    QCOMPARE(store.correctEntry(key, sara, corrected).value.state, EntryState::AsExpected);
    history.recordCorrection(key, sara, corrected);
    QVERIFY(added(store, kamran) != 0); // the put-back entry's key is new

    QVERIFY(history.undo(store).ok() && history.undo(store).ok());
    QCOMPARE(entriesOf(phoneBook.source()).size(), 1);
    const Result<EditOutcome> add = history.redo(store);
    const Result<EditOutcome> correction = history.redo(store);
    QVERIFY(add.ok() && !add.value.refused);
    QVERIFY2(correction.ok() && !correction.value.refused, "the correction lost its entry");
    QCOMPARE(entriesOf(phoneBook.source()).last(), sara.name + u"|7|"_qs + sara.note);

    // Past the depth, the oldest steps go.
    EditHistory shallow(2);
    for (int i = 0; i < 3; ++i) {
        const EntryTexts texts{QString::number(i), QStringLiteral("1"), {}};
        shallow.recordAdd(added(store, texts), texts);
    }
    for (int i = 0; i < 2; ++i) {
        const Result<EditOutcome> undone = shallow.undo(store);
        QVERIFY(undone.ok() && undone.value.step && !undone.value.refused);
    }
    QVERIFY(!shallow.canUndo());
    QCOMPARE(entriesOf(phoneBook.source()).last(), u"0|1|"_qs);
}

QTEST_GUILESS_MAIN(TestEditHistory)
#include "tst_edithistory.moc"
