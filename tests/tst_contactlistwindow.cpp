// The contact list window: what it shows, from which phone book, and the
// grid colour a person chooses and keeps, with a scratch settings store.
#include "button/colour.h"
#include "button/paintedbutton.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmenu.h"
#include "windows/contactlistmodel.h"
#include "windows/contactlistwindow.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
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

    void headingOrdersTheListAndTheOrderIsKept()
    {
        const QStringList stored{"پري", "آرش", "بهرام"};
        for (int i = 0; i < stored.size(); ++i)
            insertRow(db, {stored.at(i), QStringLiteral("0912"), QString(), double(i + 1)});
        auto list = openList();
        const auto names = [&list] {
            if (!list->model()->waitUntilShown(10000))
                return QStringList{QStringLiteral("never shown")};
            QStringList shown;
            for (int row = 0; row < list->model()->rowCount(); ++row)
                shown << list->model()->index(row, 0).data().toString();
            return shown;
        };
        const auto clickHeading = [&list](int column) {
            ContactGrid *grid = list->grid();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->cellRect(-1, column).center());
        };
        QCOMPARE(names(), stored);
        clickHeading(0);
        QCOMPARE(names(), QStringList({"آرش", "بهرام", "پري"}));
        clickHeading(0);
        QCOMPARE(names(), QStringList({"پري", "بهرام", "آرش"}));
        QCOMPARE(fake->settings.read(ContactListWindow::orderSettingName()),
                 QStringLiteral("name descending"));
        list.reset();
        list = openList();
        QCOMPARE(names(), QStringList({"پري", "بهرام", "آرش"}));
        // Another column starts ascending.
        clickHeading(3);
        QCOMPARE(names(), stored);
        QCOMPARE(fake->settings.read(ContactListWindow::orderSettingName()), QStringLiteral("row"));
    }

    void findBoxNarrowsCountsAndEscEmptiesIt()
    {
        insertRow(db, {QStringLiteral("علي كريمي"), QStringLiteral("0912 123"), QString(), 1});
        insertRow(db, {QStringLiteral("مريم"), QStringLiteral("021 555"), QString(), 2});
        insertRow(db, {QStringLiteral("علی رضایی"), QStringLiteral("0935"), QString(), 3});
        auto list = openList();
        QVERIFY(QTest::qWaitForWindowActive(list.get()));
        FormTextBox *find = list->controls().findBox;
        find->setFocus();
        // Typed a letter at a time, as a Persian keyboard sends them.
        for (const QChar letter : QStringLiteral("علی")) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(letter));
            QApplication::sendEvent(find, &press);
        }
        QCOMPARE(find->text(), QStringLiteral("علی"));
        QVERIFY(list->model()->waitUntilShown(10000));
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(list->controls().matchesLabel->text(), QStringLiteral("2 مورد"));

        QTest::keyClick(find, Qt::Key_Escape);
        QVERIFY(!list->isUnloaded());
        QCOMPARE(find->text(), QString());
        QVERIFY(list->model()->waitUntilShown(10000));
        QCOMPARE(list->model()->rowCount(), 3);
        QCOMPARE(list->controls().matchesLabel->text(), QStringLiteral("3 مورد"));
        // Empty, Esc is the window's again.
        QTest::keyClick(find, Qt::Key_Escape);
        QVERIFY(list->isUnloaded());
    }

    // Printed and saved as a PDF: the rows as the list shows them, narrowed
    // and ordered, and none of the others.
    void printedAsShown()
    {
        const QStringList stored{"پريسا", "آرش", "مريم", "بهمن"};
        for (int i = 0; i < stored.size(); ++i)
            insertRow(db, {stored.at(i), QStringLiteral("0912"), QString(), double(i + 1)});
        fake->settings.write(ContactListWindow::orderSettingName(), QStringLiteral("name"));
        auto list = openList();
        list->controls().findBox->setText(QStringLiteral("ر"));
        QVERIFY(list->model()->waitUntilShown(10000));

        fake->printPath = dir->filePath(QStringLiteral("printed.pdf"));
        fake->menuChoice = ContactListMenu::printText();
        Q_EMIT list->grid()->customContextMenuRequested(QPoint(20, 20));
        QCOMPARE(fake->printPreviews, 1);

        fake->menuChoice = ContactListMenu::pdfText();
        fake->fileAnswers = {ChosenFile{dir->filePath(QStringLiteral("saved")), {}}};
        Q_EMIT list->grid()->customContextMenuRequested(QPoint(20, 20));
        auto *menu = list->grid()->findChild<ContactListMenu *>();
        QVERIFY(menu->waitUntilSaved(30000));
        QCOMPARE(fake->boxes.last().style, int(MsgOkInformation));

        const auto textOf = [](const QString &pdf) {
            QProcess extract;
            extract.start(
                QStringLiteral("pdftotext"),
                {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
            extract.waitForFinished(60000);
            QString text = QString::fromUtf8(extract.readAllStandardOutput())
                               .normalized(QString::NormalizationForm_KC);
            text.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
            return text;
        };
        const QString saved = textOf(dir->filePath(QStringLiteral("saved.pdf")));
        const qsizetype first = saved.indexOf(QStringLiteral("آرش"));
        const qsizetype second = saved.indexOf(QStringLiteral("پريسا"));
        const qsizetype third = saved.indexOf(QStringLiteral("مريم"));
        QVERIFY2(first >= 0 && second > first && third > second, qPrintable(saved));
        QVERIFY2(!saved.contains(QStringLiteral("بهمن")), qPrintable(saved));
        // The printer's own PDF maps only some shaped letters back to text.
        const QString printed = textOf(fake->printPath);
        QVERIFY2(printed.contains(QStringLiteral("آرش")), qPrintable(printed));
        QVERIFY2(!printed.contains(QStringLiteral("بهمن")), qPrintable(printed));
    }
};

QTEST_MAIN(TestContactListWindow)
#include "tst_contactlistwindow.moc"
