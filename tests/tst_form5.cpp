// The contact list window: what it shows, from which phone book, and the
// grid colour a person chooses and keeps, with a scratch settings store.
#include "button/colour.h"
#include "button/paintedbutton.h"
#include "support/fakeservices.h"
#include "support/sqlitefile.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmodel.h"
#include "windows/form5.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QtTest>

using namespace dialvault;

namespace {

constexpr Colour pureRed = 0x0000FF;

} // namespace

class TestForm5 : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeServices> fake;
    QString db;

    std::unique_ptr<Form5> openList()
    {
        auto list = std::make_unique<Form5>();
        fake->showWindow(list.get());
        return list;
    }
    void click(Form5 &list, const char *button)
    {
        QTest::mouseClick(list.control<PaintedButton>(QString::fromLatin1(button)), Qt::LeftButton,
                          {}, QPoint(10, 10));
    }
    static Colour layoutColour() { return systemColour(5); }

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        fake = std::make_unique<FakeServices>();
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
        QCOMPARE(list->MSFlexGrid1->backColor(), layoutColour());
        QCOMPARE(list->Text1->text(), QString());
        QVERIFY(list->Text1->isHidden());

        fake->colourAnswers = {pureRed};
        click(*list, "paintedButton2");
        QCOMPARE(list->MSFlexGrid1->backColor(), pureRed);
        QCOMPARE(list->Text1->text(), QStringLiteral("255"));
        QCOMPARE(fake->readSetting(Form5::colourSettingName()), QString());

        click(*list, "paintedButton3");
        QCOMPARE(fake->readSetting(Form5::colourSettingName()), QStringLiteral("255"));
        QVERIFY(fake->boxes.isEmpty());
        list.reset();
        QCOMPARE(openList()->MSFlexGrid1->backColor(), pureRed);
    }

    void cancelChangesNothing()
    {
        auto list = openList();
        fake->colourAnswers = {pureRed, std::nullopt};
        click(*list, "paintedButton2");
        click(*list, "paintedButton2");
        QCOMPARE(list->MSFlexGrid1->backColor(), pureRed);
        QCOMPARE(list->Text1->text(), QStringLiteral("255"));
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
        QVERIFY(fake->writeSetting(Form5::colourSettingName(), stored));
        auto list = openList();
        QCOMPARE(quint32(list->MSFlexGrid1->backColor()), shown);
        QVERIFY(fake->boxes.isEmpty());
    }

    void savingWithoutChoosingStoresEmptyText()
    {
        QVERIFY(fake->writeSetting(Form5::colourSettingName(), QStringLiteral("255")));
        auto list = openList();
        QCOMPARE(list->MSFlexGrid1->backColor(), pureRed);
        click(*list, "paintedButton3");
        list.reset();
        QCOMPARE(fake->readSetting(Form5::colourSettingName()), QString());
        QCOMPARE(openList()->MSFlexGrid1->backColor(), layoutColour());
    }

    void unwritableStoreIsNotThePersonsConcern()
    {
        auto list = openList();
        fake->colourAnswers = {pureRed};
        click(*list, "paintedButton2");
        // A folder where the settings file should be: no user, root included,
        // can write it.
        QVERIFY(QDir().mkpath(fake->settingsFile()));
        click(*list, "paintedButton3");
        QVERIFY(!fake->writeSetting(Form5::colourSettingName(), QStringLiteral("1")));
        QVERIFY(fake->boxes.isEmpty());
        QCOMPARE(list->MSFlexGrid1->backColor(), pureRed);
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
        QVERIFY(list->Data1->waitUntilReleased(10000));
        insertRow(db, {QStringLiteral("مريم"), QStringLiteral("021"), QString(), 2});

        QCOMPARE(list->Data1->rowCount(), 1);
        QCOMPARE(list->Data1->index(0, 0).data().toString(), QStringLiteral("علي"));
        list.reset();
        QCOMPARE(openList()->Data1->rowCount(), 2);
    }

    void unopenablePhoneBookIsSaidAndTheWindowStays()
    {
        QFile::remove(db);
        auto list = openList();
        QCOMPARE(fake->boxes.size(), 1);
        QVERIFY2(fake->boxes[0].text.contains(QStringLiteral("پيدا نشد")),
                 qPrintable(fake->boxes[0].text));
        QVERIFY(fake->boxes[0].text.contains(db));
        QCOMPARE(list->Data1->rowCount(), 0);
        QVERIFY(!QFile::exists(db));
        click(*list, "paintedButton1");
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

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"
