// The windows' syncs with a real Radicale that CTest starts for them
// (tools/radicaletest.sh): "Sync now" in the list's menu, and the sync at
// start-up, each off the windows' thread and said through the test's
// window system.
#include "desktop/syncrunner.h"
#include "layout/formtextbox.h"
#include "main/mainwindow.h"
#include "main/startupsync.h"
#include "store/phonebook.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "support/testradicale.h"
#include "sync/syncwords.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmenu.h"
#include "windows/contactlistmodel.h"
#include "windows/contactlistwindow.h"

#include <QtTest>

using namespace dialvault;

namespace {

QByteArray card(const QString &uid, const QString &name, const QString &phone)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid.toUtf8() + "\r\nFN:" + name.toUtf8()
        + "\r\nN:;" + name.toUtf8() + ";;;\r\nTEL:" + phone.toUtf8() + "\r\nEND:VCARD\r\n";
}

// What the two syncs in these tests are set up to do, or refuse.
enum class Setting { Synced, WrongPassword, NoAddressBook };

} // namespace

class TestSyncWindows : public QObject
{
    Q_OBJECT

private:
    std::optional<TestRadicale> radicale;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDesktop> fake;
    std::unique_ptr<FixedPassword> passwords;
    std::unique_ptr<SyncRunner> runner;
    QString book;

    // An entry here, a card there and the settings naming the book (or
    // not); the runner with the password `setting` asks for.
    void prepare(Setting setting)
    {
        dir = std::make_unique<QTemporaryDir>();
        fake = std::make_unique<FakeDesktop>();
        fake->folder = dir->path();
        makeEmptyDatabase(dir->path());
        PhoneBook phoneBook(fake->source());
        QVERIFY(phoneBook.open().ok());
        QVERIFY(phoneBook.importEntries({{u"Omid"_qs, u"0912 1"_qs, {}, 0}}).ok());
        book = radicale->book();
        QCOMPARE(radicale->put(book, u"s.vcf"_qs, card(u"s"_qs, u"Sara"_qs, u"0935 2"_qs)), 201);
        if (setting != Setting::NoAddressBook)
            QVERIFY(fake->settings.write(carddavSettingName, radicale->url(book)));
        passwords = std::make_unique<FixedPassword>(
            setting == Setting::WrongPassword ? Credentials{radicale->credentials().user, u"no"_qs}
                                              : radicale->credentials());
        runner = std::make_unique<SyncRunner>(fake->settings, *fake, *passwords);
    }
    Desktop desktop()
    {
        Desktop desktop = fake->desktop();
        desktop.sync = runner.get();
        return desktop;
    }
    // The text a person is told of a sync that did `setting`.
    QString expectedWords(Setting setting) const
    {
        switch (setting) {
        case Setting::Synced:
            return syncReportLines({{1, 0, 0}, {1, 0, 0}, 0, {}}).join(u'\n');
        case Setting::WrongPassword:
            return syncFailureWords({SyncCause::WrongPassword});
        case Setting::NoAddressBook:
            return syncFailureWords({SyncCause::NoAddressBook});
        }
        return {};
    }

private Q_SLOTS:
    void initTestCase()
    {
        radicale = TestRadicale::find();
        QVERIFY2(radicale, "CTest starts the Radicale these tests use");
    }
    void cleanup()
    {
        runner.reset();
        fake.reset();
        dir.reset();
    }

    void syncNowInTheList_data()
    {
        QTest::addColumn<Setting>("setting");
        QTest::newRow("synced") << Setting::Synced;
        QTest::newRow("wrong password") << Setting::WrongPassword;
        QTest::newRow("no address book") << Setting::NoAddressBook;
    }
    // The list's menu starts a sync and goes on; a second one asked for
    // meanwhile is refused; its end is said in a box over the list, and the
    // list shows what came down.
    void syncNowInTheList()
    {
        QFETCH(Setting, setting);
        prepare(setting);
        ContactListWindow list(desktop());
        fake->showWindow(&list);
        QCOMPARE(list.model()->rowCount(), 1);

        fake->menuChoice = ContactListMenu::syncText();
        Q_EMIT list.grid()->customContextMenuRequested(QPoint(20, 20));
        if (setting != Setting::NoAddressBook) {
            QVERIFY(runner->running());
            Q_EMIT list.grid()->customContextMenuRequested(QPoint(20, 20));
            QVERIFY(
                !runner->start([](const SyncResult<SyncReport> &) { QFAIL("a second sync ran"); }));
            // The windows' events go on while the sync waits on the server.
            QTRY_VERIFY_WITH_TIMEOUT(!runner->running(), 30000);
        }
        QCOMPARE(fake->boxes.size(), 1);
        const FakeDesktop::Box &box = fake->boxes.first();
        QVERIFY2(box.text.contains(expectedWords(setting)), qPrintable(box.text));
        QCOMPARE(box.style, setting == Setting::Synced ? MsgOkInformation : MsgOk);
        QCOMPARE(box.owner.data(), &list);
        const bool synced = setting == Setting::Synced;
        QCOMPARE(list.model()->rowCount(), synced ? 2 : 1);
        QCOMPARE(radicale->cards(book).size(), synced ? 2 : 1);
    }

    void startupSyncQuietUnlessItFails_data()
    {
        QTest::addColumn<Setting>("setting");
        QTest::newRow("synced: quiet") << Setting::Synced;
        QTest::newRow("wrong password: said") << Setting::WrongPassword;
        QTest::newRow("no address book: none") << Setting::NoAddressBook;
    }
    void startupSyncQuietUnlessItFails()
    {
        QFETCH(Setting, setting);
        prepare(setting);
        MainWindow window(desktop());
        QVERIFY(window.start());
        QCOMPARE(window.controls().countBox->text(), u"1"_qs);
        startSyncing(*runner, window, *fake);
        QCOMPARE(runner->running(), setting != Setting::NoAddressBook);
        QTRY_VERIFY_WITH_TIMEOUT(!runner->running(), 30000);
        const bool synced = setting == Setting::Synced;
        // The count follows what came down.
        QTRY_COMPARE(window.controls().countBox->text(), synced ? u"2"_qs : u"1"_qs);
        if (setting == Setting::WrongPassword) {
            QCOMPARE(fake->boxes.size(), 1);
            QVERIFY(fake->boxes.first().text.contains(expectedWords(setting)));
        } else {
            QVERIFY(fake->boxes.isEmpty());
        }
        QCOMPARE(window.controls().countBox->toolTip().contains(expectedWords(setting)), synced);
    }
};

QTEST_MAIN(TestSyncWindows)
#include "tst_syncwindows.moc"
