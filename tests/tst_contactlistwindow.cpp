// The contact list window: what it shows, from which phone book, and the
// grid colour a person chooses and keeps, with a scratch settings store.
#include "button/colour.h"
#include "button/paintedbutton.h"
#include "layout/formtextbox.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmodel.h"
#include "windows/contactlistwindow.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QtTest>

using namespace dialvault;

namespace {

constexpr Colour pureRed = 0x0000FF;

} // namespace

class TestContactListWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDesktop> fake;
    QString db;

    std::unique_ptr<ContactListWindow> openList()
    {
        auto list = std::make_unique<ContactListWindow>(fake->desktop());
        fake->showWindow(list.get());
        return list;
    }
    void click(PaintedButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    }
    static Colour layoutColour() { return systemColour(5); }

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        fake = std::make_unique<FakeDesktop>();
        fake->folder = dir->path();
        db = makeEmptyDatabase(dir->path());
    }
    void cleanup()
    {
        fake.reset();
        dir.reset();
    }

    void chosenColourIsHeldSavedAndShownAgain()
    {
        auto list = openList();
        QCOMPARE(list->grid()->cellColour(), layoutColour());
        QCOMPARE(list->controls().heldColourBox->text(), QString());
        QVERIFY(list->controls().heldColourBox->isHidden());

        fake->colourAnswers = {pureRed};
        click(list->controls().changeColourButton);
        QCOMPARE(list->grid()->cellColour(), pureRed);
        QCOMPARE(list->controls().heldColourBox->text(), QStringLiteral("255"));
        QCOMPARE(fake->settings.read(ContactListWindow::colourSettingName()), QString());

        click(list->controls().saveColourButton);
        QCOMPARE(fake->settings.read(ContactListWindow::colourSettingName()),
                 QStringLiteral("255"));
        QVERIFY(fake->boxes.isEmpty());
        list.reset();
        QCOMPARE(openList()->grid()->cellColour(), pureRed);
    }

    void cancelChangesNothing()
    {
        auto list = openList();
        fake->colourAnswers = {pureRed, std::nullopt};
        click(list->controls().changeColourButton);
        click(list->controls().changeColourButton);
        QCOMPARE(list->grid()->cellColour(), pureRed);
        QCOMPARE(list->controls().heldColourBox->text(), QStringLiteral("255"));
        // The second opening of the picker starts at the colour chosen before.
        QCOMPARE(fake->colourPickerStarts, (QList<quint32>{layoutColour(), pureRed}));
    }

    void storedTextThatIsNoColourLeavesTheLayoutColour_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<quint32>("shown");
        QTest::newRow("green") << "65280" << quint32(0x00FF00);
        QTest::newRow("black") << "0" << quint32(0);
        QTest::newRow("empty") << "" << quint32(layoutColour());
        QTest::newRow("words") << "red" << quint32(layoutColour());
        QTest::newRow("beyond 32 bits") << "99999999999" << quint32(layoutColour());
        QTest::newRow("negative") << "-1" << quint32(layoutColour());
        QTest::newRow("beyond a colour") << "16777216" << quint32(layoutColour());
        QTest::newRow("spaces around") << " 255 " << quint32(pureRed);
    }
    void storedTextThatIsNoColourLeavesTheLayoutColour()
    {
        QFETCH(QString, stored);
        QFETCH(quint32, shown);
        QVERIFY(fake->settings.write(ContactListWindow::colourSettingName(), stored));
        auto list = openList();
        QCOMPARE(quint32(list->grid()->cellColour()), shown);
        QVERIFY(fake->boxes.isEmpty());
    }

    void savingWithoutChoosingStoresEmptyText()
    {
        QVERIFY(
            fake->settings.write(ContactListWindow::colourSettingName(), QStringLiteral("255")));
        auto list = openList();
        QCOMPARE(list->grid()->cellColour(), pureRed);
        click(list->controls().saveColourButton);
        list.reset();
        QCOMPARE(fake->settings.read(ContactListWindow::colourSettingName()), QString());
        QCOMPARE(openList()->grid()->cellColour(), layoutColour());
    }

    void unwritableStoreIsNotThePersonsConcern()
    {
        auto list = openList();
        fake->colourAnswers = {pureRed};
        click(list->controls().changeColourButton);
        // A folder where the settings file should be: no user, root included,
        // can write it.
        QVERIFY(QDir().mkpath(fake->settingsFile()));
        click(list->controls().saveColourButton);
        QVERIFY(!fake->settings.write(ContactListWindow::colourSettingName(), QStringLiteral("1")));
        QVERIFY(fake->boxes.isEmpty());
        QCOMPARE(list->grid()->cellColour(), pureRed);
    }

    void showsTheProgramFoldersPhoneBookAsOfItsOpening()
    {
        insertRow(db, {QStringLiteral("علي"), QStringLiteral("0912"), QString(), 1});
        // Started from another folder that holds a phone book of its own.
        QTemporaryDir elsewhere;
        makeEmptyDatabase(elsewhere.path());
        insertRow(QDir(elsewhere.path()).filePath(QStringLiteral("db1.mdb")),
                  {QStringLiteral("x"), QStringLiteral("1"), QString(), 1});
        const QString started = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        auto list = openList();
        QDir::setCurrent(started);
        QVERIFY(list->model()->waitUntilReleased(10000));
        insertRow(db, {QStringLiteral("مريم"), QStringLiteral("021"), QString(), 2});

        QCOMPARE(list->model()->rowCount(), 1);
        QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("علي"));
        list.reset();
        QCOMPARE(openList()->model()->rowCount(), 2);
    }

    void unopenablePhoneBookIsSaidAndTheWindowStays()
    {
        QFile::remove(db);
        auto list = openList();
        QCOMPARE(fake->boxes.size(), 1);
        QVERIFY2(fake->boxes[0].text.contains(QStringLiteral("پيدا نشد")),
                 qPrintable(fake->boxes[0].text));
        QVERIFY(fake->boxes[0].text.contains(db));
        QCOMPARE(list->model()->rowCount(), 0);
        QVERIFY(!QFile::exists(db));
        click(list->controls().exitButton);
        QVERIFY(list->isUnloaded());
    }

    void escClosesTheList()
    {
        auto list = openList();
        QVERIFY(QTest::qWaitForWindowActive(list.get()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(list->isUnloaded());
    }
};

QTEST_MAIN(TestContactListWindow)
#include "tst_contactlistwindow.moc"
