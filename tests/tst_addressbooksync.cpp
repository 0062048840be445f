// The phone book synced with a real Radicale that CTest starts for these
// tests (tools/radicaletest.sh), on a file and on the private PostgreSQL.

#include "store/contactstore.h"
#include "store/databasecreation.h"
#include "store/phonebook.h"
#include "support/rawdatabase.h"
#include "support/testradicale.h"
#include "support/testserver.h"
#include "sync/addressbooksync.h"
#include "sync/addresscard.h"
#include "sync/syncwords.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>

using namespace dialvault;

namespace {

std::atomic<int> bookCounter{0};

QByteArray card(const QString &uid, const QString &name, const QString &phone,
                const QString &note = {})
{
    QByteArray text = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid.toUtf8() + "\r\nFN:"
        + name.toUtf8() + "\r\nN:;" + name.toUtf8() + ";;;\r\nTEL:" + phone.toUtf8() + "\r\n";
    if (!note.isEmpty())
        text += "NOTE:" + note.toUtf8() + "\r\n";
    return text + "END:VCARD\r\n";
}

// The phone book here, on a file or on the test server, changed with plain
// SQL as another program would.
class LocalBook
{
public:
    explicit LocalBook(bool onServer)
        : m_onServer(onServer)
    {
        if (!onServer) {
            createDatabaseIfMissing(m_folder.filePath(QStringLiteral("db1.mdb")));
            m_source = PhoneBookSource::inFolder(m_folder.path());
            return;
        }
        m_server = TestServer::find();
        m_database = QStringLiteral("sync%1").arg(++bookCounter);
        if (m_server && m_server->freshPhoneBook(m_database))
            m_source = PhoneBookSource::server(m_server->url(m_database));
    }
    bool ready() const { return !m_onServer || m_source.isServer(); }
    const PhoneBookSource &source() const { return m_source; }

    void add(const QString &name, const QString &phone, const QString &note = {})
    {
        PhoneBook book(m_source);
        QVERIFY(book.open().ok());
        QVERIFY(book.importEntries({{name, phone, note, 0}}).ok());
    }
    bool exec(const QString &sql, const QVariantList &values)
    {
        if (m_server)
            return m_server->scalar(m_database, sql + QStringLiteral(" RETURNING 1"), values)
                .isValid();
        RawDatabase raw(m_source.databasePath());
        return raw.run(sql, values);
    }
    bool setPhone(const QString &name, const QString &phone)
    {
        return exec(QStringLiteral("UPDATE test SET \"تلفن\" = ? WHERE \"نام\" = ?"),
                    {phone, name});
    }
    bool setNote(const QString &name, const QString &note)
    {
        return exec(QStringLiteral("UPDATE test SET \"يادداشت\" = ? WHERE \"نام\" = ?"),
                    {note, name});
    }
    bool remove(const QString &name)
    {
        return exec(QStringLiteral("DELETE FROM test WHERE \"نام\" = ?"), {name});
    }
    // The recently deleted entries as "name|phone|note|why", newest first.
    QStringList kept() const
    {
        ContactStore store(m_source);
        if (!store.open().ok())
            return {QStringLiteral("not opened")};
        const Result<QList<DeletedEntry>> deleted = store.recentlyDeleted();
        if (!deleted.ok())
            return {QStringLiteral("not read")};
        QStringList kept;
        for (const DeletedEntry &entry : deleted.value)
            kept.append(entry.fields.name + u'|' + entry.fields.phone + u'|' + entry.fields.note
                        + (entry.reason == DeletionReason::SyncConflict ? u"|conflict"_qs
                                                                        : u"|deleted"_qs));
        return kept;
    }
    // Every entry as "name|phone|note", sorted.
    QStringList rows() const
    {
        QStringList rows;
        PhoneBook book(m_source);
        if (!book.open().ok())
            return {QStringLiteral("not opened")};
        book.forEachEntry([&](const ContactEntry &entry) {
            rows.append(entry.name + u'|' + entry.phone + u'|' + entry.note);
            return true;
        });
        rows.sort();
        return rows;
    }

private:
    bool m_onServer;
    QTemporaryDir m_folder;
    std::optional<TestServer> m_server;
    QString m_database;
    PhoneBookSource m_source;
};

// The numbers of a card's TEL lines, in order.
QStringList numbersOf(const QString &unfolded)
{
    QStringList numbers;
    static const QRegularExpression tel(QStringLiteral("^(?:[^:\\n]*\\.)?TEL[^:\\n]*:(.*)$"),
                                        QRegularExpression::MultilineOption);
    for (auto match = tel.globalMatch(unfolded); match.hasNext();)
        numbers.append(match.next().captured(1));
    return numbers;
}

} // namespace

class TestAddressBookSync : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cardRewriteKeepsWhatItDoesNotHold_data();
    void cardRewriteKeepsWhatItDoesNotHold();
    void firstSyncBothWays_data();
    void firstSyncBothWays();
    void changesTravelBothWays_data();
    void changesTravelBothWays();
    void conflictKeepsServersVersion_data();
    void conflictKeepsServersVersion();
    void severalNumbersPhotoAndEmailKept();
    void deletedEntrysKeyTakenByAnother();
    void failuresSaidWithCause_data();
    void failuresSaidWithCause();
    void serverStoppedMidSyncThenAgain_data();
    void serverStoppedMidSyncThenAgain();

private:
    SyncResult<SyncReport> sync(const LocalBook &local, const QString &book,
                                Credentials credentials = {}, DavLimits limits = {})
    {
        FixedPassword passwords(credentials.user.isEmpty() ? radicale->credentials() : credentials);
        return syncAddressBook(local.source(), radicale->account(book), passwords, {limits});
    }

    std::optional<TestRadicale> radicale;
};

void TestAddressBookSync::initTestCase()
{
    radicale = TestRadicale::find();
    if (!radicale)
        QSKIP("no Radicale: run through CTest, which starts one");
}

// Only the properties an entry holds are written anew; every other line
// comes back byte for byte, folds included.
void TestAddressBookSync::cardRewriteKeepsWhatItDoesNotHold_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QByteArray>("after");

    const QByteArray head = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:u1\r\nFN:Sara\r\nN:;Sara;;;\r\n";
    const QByteArray photo
        = "PHOTO;ENCODING=b;TYPE=PNG:iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAf\r\n"
          " FcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==\r\n";
    QTest::newRow("preferred number, others and photo kept")
        << head + "TEL;TYPE=WORK:021 1\r\nitem1.TEL;TYPE=CELL;TYPE=PREF:0912 1\r\n" + photo
            + "END:VCARD\r\n"
        << u"0912 9"_qs << QString()
        << head + "TEL;TYPE=WORK:021 1\r\nitem1.TEL;TYPE=CELL;TYPE=PREF:0912 9\r\n" + photo
            + "END:VCARD\r\n";
    QTest::newRow("first number when none is preferred; note added before END")
        << head + "TEL:021 1\r\nTEL:021 2\r\nEMAIL:s@x.org\r\nEND:VCARD\r\n"
        << u"021 3"_qs << u"a;b"_qs
        << head + "TEL:021 3\r\nTEL:021 2\r\nEMAIL:s@x.org\r\nNOTE:a\\;b\r\nEND:VCARD\r\n";
    QTest::newRow("4.0 uri number stays a uri; PREF=1 wins over the first")
        << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Sara\r\nTEL;VALUE=uri:tel:+1-555\r\n"
                      "TEL;VALUE=uri;PREF=1:tel:+98-21\r\nX-KEEP;X-P=\"a;b\":v\r\nEND:VCARD\r\n")
        << u"+98-22"_qs << QString()
        << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Sara\r\nTEL;VALUE=uri:tel:+1-555\r\n"
                      "TEL;VALUE=uri;PREF=1:tel:+98-22\r\nX-KEEP;X-P=\"a;b\":v\r\nEND:VCARD\r\n");
    QTest::newRow("a number emptied here goes; notes become one")
        << head + "TEL:021 1\r\nNOTE:one\r\nNOTE:two\r\nEND:VCARD\r\n"
        << QString() << u"one and two"_qs << head + "NOTE:one and two\r\nEND:VCARD\r\n";
    // Written anew, its bytes that are no UTF-8 are folded all the same.
    QTest::newRow("a long parameter of bytes that are no UTF-8")
        << head + "TEL;X-A=" + QByteArray(80, '\xa0') + ":1\r\nEND:VCARD\r\n"
        << u"2"_qs << QString()
        << head + "TEL;X-A\r\n =" + QByteArray(73, '\xa0') + "\r\n " + QByteArray(7, '\xa0')
            + ":2\r\nEND:VCARD\r\n";
    QTest::newRow("LF line ends come back as CR LF, folds where they were")
        << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:Sara\nNOTE:a long\n  note\nTEL:1\nEND:VCARD\n")
        << u"2"_qs << u"a long note"_qs
        << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Sara\r\nNOTE:a long\r\n  note\r\n"
                      "TEL:2\r\nEND:VCARD\r\n");
}

void TestAddressBookSync::cardRewriteKeepsWhatItDoesNotHold()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, phone);
    QFETCH(QString, note);
    QFETCH(QByteArray, after);
    const std::optional<AddressCard> card = AddressCard::read(before);
    QVERIFY(card);
    QCOMPARE(card->texts().name, u"Sara"_qs);
    EntryTexts texts = card->texts();
    texts.phone = phone;
    texts.note = note;
    const QByteArray written = card->rewritten(texts);
    QCOMPARE(written, after);
    // Read back, the card gives what was written into it.
    QCOMPARE(AddressCard::read(written)->texts(), texts);
}

void TestAddressBookSync::firstSyncBothWays_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("file") << false;
    QTest::newRow("PostgreSQL") << true;
}

// Entries go up, cards come down, and one that is on both sides (the same
// name and digits, written otherwise) is paired, not doubled.
void TestAddressBookSync::firstSyncBothWays()
{
    QFETCH(bool, onServer);
    LocalBook local(onServer);
    if (!local.ready())
        QSKIP("no PostgreSQL: run through CTest, which starts one");
    local.add(u"علي رضايي"_qs, u"0912 111 2233"_qs, u"همکار"_qs);
    local.add(u"Maryam"_qs, u"021 5555 1234"_qs);
    const QString book = radicale->book();
    QCOMPARE(radicale->put(book, u"a.vcf"_qs,
                           card(u"a"_qs, u"علی رضایی"_qs, u"+98 912 111 2233"_qs, u"همکار"_qs)),
             201);
    QCOMPARE(radicale->put(book, u"b.vcf"_qs, card(u"b"_qs, u"Reza"_qs, u"0935 000 1111"_qs)), 201);

    const SyncResult<SyncReport> first = sync(local, book);
    QVERIFY2(first.ok(), qPrintable(syncFailureWords(first)));
    QCOMPARE(first.value.here, (SideCounts{1, 1, 0}));
    QCOMPARE(first.value.there, (SideCounts{1, 0, 0}));
    QCOMPARE(first.value.conflicts, 0);
    // The paired entry takes the server's writing of the same name and number.
    const QStringList expected{u"Maryam|021 5555 1234|"_qs, u"Reza|0935 000 1111|"_qs,
                               u"علی رضایی|+98 912 111 2233|همکار"_qs};
    QCOMPARE(local.rows(), expected);
    QCOMPARE(radicale->cards(book).size(), 3);

    // Nothing changed anywhere: nothing is sent, nothing fetched but the changes.
    const SyncResult<SyncReport> second = sync(local, book);
    QVERIFY(second.ok());
    QCOMPARE(second.value.here, SideCounts{});
    QCOMPARE(second.value.there, SideCounts{});
    QCOMPARE(second.value.requests, 2); // the collection, its changes
    QCOMPARE(local.rows(), expected);
}

void TestAddressBookSync::changesTravelBothWays_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("file") << false;
    QTest::newRow("PostgreSQL") << true;
}

// A number corrected on either side, and deletes on either side.
void TestAddressBookSync::changesTravelBothWays()
{
    QFETCH(bool, onServer);
    LocalBook local(onServer);
    if (!local.ready())
        QSKIP("no PostgreSQL: run through CTest, which starts one");
    const QString book = radicale->book();
    local.add(u"Here"_qs, u"1111"_qs);
    local.add(u"Gone here"_qs, u"2222"_qs);
    QCOMPARE(radicale->put(book, u"t.vcf"_qs, card(u"t"_qs, u"There"_qs, u"3333"_qs)), 201);
    QCOMPARE(radicale->put(book, u"g.vcf"_qs, card(u"g"_qs, u"Gone there"_qs, u"4444"_qs)), 201);
    QVERIFY(sync(local, book).ok());

    QVERIFY(local.setPhone(u"Here"_qs, u"1112"_qs));
    QVERIFY(local.remove(u"Gone here"_qs));
    QCOMPARE(radicale->put(book, u"t.vcf"_qs, card(u"t"_qs, u"There"_qs, u"3334"_qs)) / 100, 2);
    QCOMPARE(radicale->request("DELETE", book, u"g.vcf"_qs), 200);
    const SyncResult<SyncReport> synced = sync(local, book);
    QVERIFY2(synced.ok(), qPrintable(syncFailureWords(synced)));
    QCOMPARE(synced.value.here, (SideCounts{0, 1, 1}));
    QCOMPARE(synced.value.there, (SideCounts{0, 1, 1}));
    QCOMPARE(local.rows(), (QStringList{u"Here|1112|"_qs, u"There|3334|"_qs}));
    // Deleted there: still here to be put back.
    QCOMPARE(local.kept(), (QStringList{u"Gone there|4444||deleted"_qs}));
    QStringList there;
    for (const QString &text : radicale->cards(book))
        there += numbersOf(text);
    there.sort();
    QCOMPARE(there, (QStringList{u"1112"_qs, u"3334"_qs}));
}

void TestAddressBookSync::conflictKeepsServersVersion_data()
{
    QTest::addColumn<bool>("deletedThere");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("changed on both sides") << false << QStringList{u"Sara|0912 3|there"_qs};
    QTest::newRow("deleted there, changed here") << true << QStringList{};
}

void TestAddressBookSync::conflictKeepsServersVersion()
{
    QFETCH(bool, deletedThere);
    QFETCH(QStringList, rows);
    LocalBook local(false);
    const QString book = radicale->book();
    QCOMPARE(radicale->put(book, u"s.vcf"_qs, card(u"s"_qs, u"Sara"_qs, u"0912 1"_qs)), 201);
    QVERIFY(sync(local, book).ok());

    QVERIFY(local.setPhone(u"Sara"_qs, u"0912 2"_qs));
    QVERIFY(local.setNote(u"Sara"_qs, u"here"_qs));
    if (deletedThere)
        QCOMPARE(radicale->request("DELETE", book, u"s.vcf"_qs), 200);
    else
        QCOMPARE(
            radicale->put(book, u"s.vcf"_qs, card(u"s"_qs, u"Sara"_qs, u"0912 3"_qs, u"there"_qs))
                / 100,
            2);
    const SyncResult<SyncReport> synced = sync(local, book);
    QVERIFY2(synced.ok(), qPrintable(syncFailureWords(synced)));
    QCOMPARE(synced.value.conflicts, 1);
    QCOMPARE(synced.value.putAside, (QList<EntryTexts>{{u"Sara"_qs, u"0912 2"_qs, u"here"_qs}}));
    QCOMPARE(local.rows(), rows);
    QCOMPARE(radicale->cards(book).size(), deletedThere ? 0 : 1);
    // Ours kept once, as the loser of a conflict.
    QCOMPARE(local.kept(), (QStringList{u"Sara|0912 2|here|conflict"_qs}));
    // Settled: the next sync finds nothing to do.
    const SyncResult<SyncReport> again = sync(local, book);
    QCOMPARE(again.value.conflicts + again.value.there.changed + again.value.here.changed, 0);
}

// A card with three numbers, a photo and an e-mail, its preferred number
// corrected here: the server keeps the other two numbers, the photo, the
// e-mail and the rest.
void TestAddressBookSync::severalNumbersPhotoAndEmailKept()
{
    LocalBook local(false);
    const QString book = radicale->book();
    const QByteArray photo = "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+"
                             "M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==";
    const QByteArray before = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:three\r\nFN:Sara Ahmadi\r\n"
                              "N:Ahmadi;Sara;;;\r\nTEL;TYPE=WORK:021 8888 0000\r\n"
                              "TEL;TYPE=CELL,PREF:0912 000 1111\r\nTEL;TYPE=HOME:021 7777 0000\r\n"
                              "EMAIL;TYPE=INTERNET:sara@example.org\r\nPHOTO;ENCODING=b;TYPE=PNG:"
        + photo + "\r\nADR;TYPE=HOME:;;Street 1;Tehran;;;Iran\r\nX-CUSTOM:keep me\r\nEND:VCARD\r\n";
    QCOMPARE(radicale->put(book, u"three.vcf"_qs, before), 201);
    QVERIFY(sync(local, book).ok());
    QCOMPARE(local.rows(), QStringList{u"Sara Ahmadi|0912 000 1111|"_qs});

    QVERIFY(local.setPhone(u"Sara Ahmadi"_qs, u"0912 000 2222"_qs));
    const SyncResult<SyncReport> synced = sync(local, book);
    QVERIFY(synced.ok());
    QCOMPARE(synced.value.there.changed, 1);
    const QString after = radicale->cards(book).value(u"three.vcf"_qs);
    QCOMPARE(numbersOf(after),
             (QStringList{u"021 8888 0000"_qs, u"0912 000 2222"_qs, u"021 7777 0000"_qs}));
    for (const QString &kept : {u"sara@example.org"_qs, QString::fromLatin1(photo), u"Street 1"_qs,
                                u"X-CUSTOM:keep me"_qs, u"UID:three"_qs, u"N:Ahmadi;Sara;;;"_qs})
        QVERIFY2(after.contains(kept), qPrintable(kept + u" missing from\n"_qs + after));
}

// The last entry deleted and another added: the file gives the new one the
// deleted one's key. Its card goes, and the new entry gets a card of its
// own instead of taking over the other person's.
void TestAddressBookSync::deletedEntrysKeyTakenByAnother()
{
    LocalBook local(false);
    const QString book = radicale->book();
    local.add(u"Sara"_qs, u"0912 1"_qs);
    local.add(u"Omid"_qs, u"0912 2"_qs);
    QVERIFY(sync(local, book).ok());
    QVERIFY(local.remove(u"Omid"_qs));
    local.add(u"Nima"_qs, u"0935 7"_qs);

    const SyncResult<SyncReport> synced = sync(local, book);
    QVERIFY2(synced.ok(), qPrintable(syncFailureWords(synced)));
    QCOMPARE(synced.value.there, (SideCounts{1, 0, 1}));
    QStringList names;
    for (const QString &text : radicale->cards(book)) {
        static const QRegularExpression fn(QStringLiteral("^FN:(.*)$"),
                                           QRegularExpression::MultilineOption);
        names.append(fn.match(text).captured(1));
    }
    names.sort();
    QCOMPARE(names, (QStringList{u"Nima"_qs, u"Sara"_qs}));
    QCOMPARE(sync(local, book).value.there, SideCounts{});
}

void TestAddressBookSync::failuresSaidWithCause_data()
{
    QTest::addColumn<QString>("where"); // radicale, principal, closed, silent, garbage, page
    QTest::addColumn<bool>("wrongPassword");
    QTest::addColumn<SyncCause>("cause");
    QTest::addColumn<int>("deadlineMs"); // the whole sync's; 0: only each request's limits
    QTest::newRow("wrong password") << u"radicale"_qs << true << SyncCause::WrongPassword << 0;
    QTest::newRow("not an address book")
        << u"principal"_qs << false << SyncCause::NotAnAddressBook << 0;
    QTest::newRow("a web page") << u"page"_qs << false << SyncCause::NotAnAddressBook << 0;
    QTest::newRow("unreachable") << u"closed"_qs << false << SyncCause::Unreachable << 0;
    QTest::newRow("stalls") << u"silent"_qs << false << SyncCause::TimedOut << 0;
    // Each request would wait a minute; the whole sync may take half a second.
    QTest::newRow("stalls past the whole deadline")
        << u"silent"_qs << false << SyncCause::DeadlinePassed << 500;
    QTest::newRow("garbage") << u"garbage"_qs << false << SyncCause::Garbage << 0;
}

// Each failure has its cause and its words, and nothing changes here.
void TestAddressBookSync::failuresSaidWithCause()
{
    QFETCH(QString, where);
    QFETCH(bool, wrongPassword);
    QFETCH(SyncCause, cause);
    QFETCH(int, deadlineMs);
    LocalBook local(false);
    local.add(u"Sara"_qs, u"0912"_qs);
    const QString book = radicale->book();

    // A server of our own for the answers Radicale never gives.
    QTcpServer fake;
    QVERIFY(fake.listen(QHostAddress::LocalHost));
    QList<QTcpSocket *> held;
    QObject::connect(&fake, &QTcpServer::newConnection, [&]() {
        QTcpSocket *socket = fake.nextPendingConnection();
        held.append(socket);
        QObject::connect(socket, &QTcpSocket::readyRead, [socket, where]() {
            socket->readAll();
            const QByteArray body
                = where == u"garbage"_qs ? "<multistatus>not closed" : "<html>Welcome</html>";
            if (where != u"silent"_qs)
                socket->write("HTTP/1.1 " + QByteArray(where == u"garbage"_qs ? "207" : "200")
                              + " X\r\nContent-Type: text/xml\r\nContent-Length: "
                              + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        });
    });
    const quint16 fakePort = fake.serverPort();
    QString url = radicale->url(book);
    if (where == u"principal"_qs)
        url = radicale->url(QString()).chopped(1);
    else if (where != u"radicale"_qs)
        url = QStringLiteral("http://alice@127.0.0.1:%1/book/").arg(fakePort);
    if (where == u"closed"_qs)
        fake.close();

    FixedPassword passwords(wrongPassword ? Credentials{u"alice"_qs, u"not it"_qs}
                                          : radicale->credentials());
    const SyncOptions options = deadlineMs > 0
        ? SyncOptions{{60000, 120000, 4}, std::chrono::milliseconds(deadlineMs)}
        : SyncOptions{{300, 2000, 4}};
    QElapsedTimer took;
    took.start();
    const SyncResult<SyncReport> synced
        = syncAddressBook(local.source(), addressBookAccount(url, false).value, passwords, options);
    QCOMPARE(synced.cause, cause);
    QVERIFY(took.elapsed() < 10000);
    QVERIFY(!syncFailureWords(synced).isEmpty());
    QCOMPARE(local.rows(), QStringList{u"Sara|0912|"_qs});
    QVERIFY(radicale->cards(book).isEmpty());
    qDeleteAll(held);
}

void TestAddressBookSync::serverStoppedMidSyncThenAgain_data()
{
    QTest::addColumn<bool>("killed"); // else the sync is stopped, as past its deadline
    QTest::addColumn<SyncCause>("cause");
    QTest::newRow("server killed") << true << SyncCause::Unreachable;
    QTest::newRow("sync stopped") << false << SyncCause::DeadlinePassed;
}

// The server stops, or the sync is stopped, while our entries go up: that
// sync fails and changes nothing here; the next one ends the work with no
// entry or card twice and none lost.
void TestAddressBookSync::serverStoppedMidSyncThenAgain()
{
    QFETCH(bool, killed);
    QFETCH(SyncCause, cause);
    LocalBook local(false);
    const QString book = radicale->book();
    const int entries = 300;
    QList<ContactEntry> added;
    for (int i = 0; i < entries; ++i)
        added.append({QStringLiteral("Here %1").arg(i), QStringLiteral("0912 %1").arg(i), {}, 0});
    {
        PhoneBook phoneBook(local.source());
        QVERIFY(phoneBook.open().ok());
        QVERIFY(phoneBook.importEntries(added).ok());
    }
    QCOMPARE(radicale->put(book, u"t.vcf"_qs, card(u"t"_qs, u"There"_qs, u"021 1"_qs)), 201);

    SyncResult<SyncReport> stopped;
    std::atomic<bool> stop = false;
    FixedPassword passwords(radicale->credentials());
    const AddressBookAccount account = radicale->account(book);
    std::unique_ptr<QThread> worker(QThread::create([&]() {
        stopped = syncAddressBook(local.source(), account, passwords,
                                  {{2000, 10000, 4}, std::chrono::minutes(1), &stop});
    }));
    worker->start();
    // Stopped as soon as the first of our cards is stored.
    const QDir storage(radicale->storage(book));
    while (!worker->isFinished()
           && storage.entryList({QStringLiteral("*.vcf")}, QDir::Files).size() < 2)
        QThread::msleep(1);
    if (killed)
        QVERIFY(radicale->kill());
    else
        stop = true;
    QVERIFY(worker->wait(30000));
    QVERIFY(!stopped.ok());
    QCOMPARE(stopped.cause, cause);
    const int storedBefore = radicale->cards(book).size();
    QVERIFY2(storedBefore > 1 && storedBefore < entries + 1,
             qPrintable(QString::number(storedBefore)));
    QCOMPARE(local.rows().size(), entries); // nothing came down

    if (killed)
        QVERIFY(radicale->start());
    const SyncResult<SyncReport> again = sync(local, book);
    QVERIFY2(again.ok(), qPrintable(syncFailureWords(again)));
    QCOMPARE(again.value.here.added, 1);
    QCOMPARE(again.value.there.added, entries - (storedBefore - 1));
    const QStringList rows = local.rows();
    QCOMPARE(rows.size(), entries + 1);
    QVERIFY(rows.contains(u"There|021 1|"_qs));
    QStringList names;
    for (const QString &text : radicale->cards(book)) {
        static const QRegularExpression fn(QStringLiteral("^FN:(.*)$"),
                                           QRegularExpression::MultilineOption);
        names.append(fn.match(text).captured(1));
    }
    QCOMPARE(names.size(), entries + 1);
    names.removeDuplicates();
    QCOMPARE(names.size(), entries + 1);
}

QTEST_GUILESS_MAIN(TestAddressBookSync)
#include "tst_addressbooksync.moc"
