// The contact list window: what it shows, from which phone book, the grid
// colour a person chooses and keeps, with a scratch settings store, and the
// entries corrected, deleted, undone and put back from it.
#include "button/colour.h"
#include "button/paintedbutton.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "main/mainwindow.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "support/testserver.h"
#include "windows/contactcelleditor.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmenu.h"
#include "windows/contactlistmodel.h"
#include "windows/contactlistwindow.h"
#include "windows/recentlydeletedwindow.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
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

    // The names the list shows, in its order.
    static QStringList names(const ContactListWindow &list)
    {
        QStringList shown;
        for (int row = 0; row < list.model()->rowCount(); ++row)
            shown << list.model()->index(row, 0).data().toString();
        return shown;
    }
    void fill(const QStringList &names)
    {
        for (int i = 0; i < names.size(); ++i)
            insertRow(db,
                      {names.at(i), QStringLiteral("0912 %1").arg(i), QString(), double(i + 1)});
    }
    // Clicks a cell, so that it is the current one, and leaves the focus in
    // the grid.
    static void clickCell(ContactGrid *grid, int row, int column)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->cellRect(row, column).center());
    }
    // Typed a letter at a time, as a Persian keyboard sends them.
    static void type(QWidget *box, const QString &text)
    {
        for (const QChar letter : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(letter));
            QApplication::sendEvent(box, &press);
        }
    }
    // Opens the cell's editor with `key`, replaces its text and presses Enter.
    static void correct(ContactGrid *grid, ContactCellEditor *editor, int row, int column,
                        const QString &text, Qt::Key key = Qt::Key_F2)
    {
        clickCell(grid, row, column);
        QTest::keyClick(grid, key);
        QVERIFY(editor->box());
        QTest::keyClick(editor->box(), Qt::Key_A, Qt::ControlModifier);
        type(editor->box(), text);
        QTest::keyClick(editor->box(), Qt::Key_Return);
    }
    QStringList storedNames() const
    {
        QStringList stored;
        for (const StoredRow &row : storedRows(db))
            stored << row.name;
        return stored;
    }

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

    // Corrected in place by each key that opens the editor: stored at once,
    // shown, and seen again after reopening; Esc leaves the cell as it was,
    // and the row number is no text to correct.
    void correctedInPlace_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("F2") << int(Qt::Key_F2);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("double-click") << 0;
    }
    void correctedInPlace()
    {
        QFETCH(int, key);
        fill({"آرش", "بهرام", "پري"});
        fake->settings.write(ContactListWindow::orderSettingName(),
                             QStringLiteral("name descending"));
        auto list = openList();
        QVERIFY(list->model()->waitUntilShown(10000));
        ContactGrid *grid = list->grid();
        ContactCellEditor *editor = list->cellEditor();
        if (key) {
            correct(grid, editor, 1, 1, QStringLiteral("021 555"), Qt::Key(key));
        } else {
            // The press of a double-click makes the cell current first.
            clickCell(grid, 1, 1);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 1).center());
            QVERIFY(editor->box());
            QTest::keyClick(editor->box(), Qt::Key_A, Qt::ControlModifier);
            type(editor->box(), QStringLiteral("021 555"));
            QTest::keyClick(editor->box(), Qt::Key_Return);
        }
        QVERIFY(!editor->box());
        QCOMPARE(list->model()->index(1, 1).data().toString(), QStringLiteral("021 555"));
        QCOMPARE(storedRows(db).at(1).phone, QStringLiteral("021 555"));
        QCOMPARE(storedRows(db).at(1).rowNumber, 2.0);
        QVERIFY(fake->boxes.isEmpty());

        // Esc: nothing stored, nothing shown, and the window stays.
        clickCell(grid, 0, 0);
        QTest::keyClick(grid, Qt::Key_F2);
        QVERIFY(editor->box());
        QTest::keyClicks(editor->box(), QStringLiteral("xyz"));
        QTest::keyClick(editor->box(), Qt::Key_Escape);
        QVERIFY(!editor->box());
        QVERIFY(!list->isUnloaded());
        QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("پري"));
        QCOMPARE(storedNames(), QStringList({"آرش", "بهرام", "پري"}));

        clickCell(grid, 0, 3);
        QTest::keyClick(grid, Qt::Key_F2);
        QVERIFY(!editor->box());

        list.reset();
        list = openList();
        QVERIFY(list->model()->waitUntilShown(10000));
        QCOMPARE(list->model()->index(1, 1).data().toString(), QStringLiteral("021 555"));
    }

    // Another copy of the program changed or deleted the entry after the
    // list was opened: nothing is overwritten, the person is told, and the
    // list shows what is stored now.
    void correctionOverAnotherChangeIsRefused()
    {
        fill({"آرش", "بهرام", "پري"});
        auto list = openList();
        QVERIFY(list->model()->waitUntilReleased(10000));
        QCOMPARE(execSql(db, QStringLiteral("UPDATE test SET \"نام\" = 'بهروز' WHERE rowid = 2")),
                 QString());
        QCOMPARE(execSql(db, QStringLiteral("DELETE FROM test WHERE rowid = 3")), QString());

        correct(list->grid(), list->cellEditor(), 1, 2, QStringLiteral("همكار"));
        QCOMPARE(fake->boxes.size(), 1);
        QCOMPARE(storedNames(), QStringList({"آرش", "بهروز"}));
        QCOMPARE(storedRows(db).at(1).note, QString());
        QCOMPARE(names(*list), QStringList({"آرش", "بهروز", "پري"}));
        QCOMPARE(list->model()->index(1, 2).data().toString(), QString());

        correct(list->grid(), list->cellEditor(), 2, 0, QStringLiteral("پريسا"));
        QCOMPARE(fake->boxes.size(), 2);
        QCOMPARE(storedNames(), QStringList({"آرش", "بهروز"}));
        QCOMPARE(names(*list), QStringList({"آرش", "بهروز"}));
        QCOMPARE(list->controls().matchesLabel->text(), QStringLiteral("2 مورد"));
    }

    // The Delete key deletes the selected rows at once; undo and redo, by
    // the grid's keys, the window's keys and the menu, bring them back and
    // take them again. A text box keeps its own Ctrl+Z.
    void deletedAndUndone()
    {
        fill({"آرش", "بهرام", "پري", "مريم"});
        auto list = openList();
        QVERIFY(QTest::qWaitForWindowActive(list.get()));
        ContactGrid *grid = list->grid();
        clickCell(grid, 1, 0);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          grid->cellRect(2, 1).center());
        QTest::keyClick(grid, Qt::Key_Delete);
        QVERIFY(fake->boxes.isEmpty());
        QCOMPARE(storedNames(), QStringList({"آرش", "مريم"}));
        QCOMPARE(names(*list), QStringList({"آرش", "مريم"}));
        QCOMPARE(list->controls().matchesLabel->text(), QStringLiteral("2 مورد"));

        FormTextBox *find = list->controls().findBox;
        find->setFocus();
        type(find, QStringLiteral("م"));
        QTest::keyClick(find, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(find->text(), QString());
        QCOMPARE(storedNames(), QStringList({"آرش", "مريم"}));

        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(list->model()->waitUntilShown(10000));
        QCOMPARE(storedRows(db).size(), 4);
        QCOMPARE(names(*list).size(), 4);
        for (const QString name : {"بهرام", "پري"})
            QVERIFY(names(*list).contains(name));

        QTest::keyClick(find, Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
        QVERIFY(list->model()->waitUntilShown(10000));
        QCOMPARE(storedNames(), QStringList({"آرش", "مريم"}));
        QCOMPARE(names(*list), QStringList({"آرش", "مريم"}));

        fake->menuChoice = ContactListWindow::undoText();
        Q_EMIT grid->customContextMenuRequested(QPoint(20, 20));
        QVERIFY(fake->menusShown.last().contains(ContactListWindow::redoText()));
        QVERIFY(list->model()->waitUntilShown(10000));
        QCOMPARE(storedRows(db).size(), 4);
        QCOMPARE(list->controls().matchesLabel->text(), QStringLiteral("4 مورد"));
        QVERIFY(fake->boxes.isEmpty());
    }

    // Put back from the recently deleted window: in the phone book again, in
    // the list at once, and no longer among the recently deleted.
    void recentlyDeletedPutBack()
    {
        fill({"آرش", "بهرام", "پري"});
        auto list = openList();
        clickCell(list->grid(), 0, 0);
        QTest::keyClick(list->grid(), Qt::Key_Delete);
        clickCell(list->grid(), 1, 0);
        QTest::keyClick(list->grid(), Qt::Key_Delete);
        QCOMPARE(storedNames(), QStringList({"بهرام"}));

        fake->menuChoice = ContactListWindow::recentlyDeletedText();
        Q_EMIT list->grid()->customContextMenuRequested(QPoint(20, 20));
        RecentlyDeletedWindow *deleted = list->recentlyDeletedWindow();
        QVERIFY(deleted && deleted->isVisible());
        QCOMPARE(deleted->entries().size(), 2);
        // Newest first.
        QCOMPARE(deleted->entries().at(0).fields.name, QStringLiteral("پري"));
        QTableView *table = deleted->table();
        QCOMPARE(table->model()->index(1, 0).data().toString(), QStringLiteral("آرش"));
        QVERIFY(!deleted->restoreButton()->isEnabled());

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(1, 0)).center());
        QTest::mouseClick(deleted->restoreButton(), Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(fake->boxes.isEmpty());
        QCOMPARE(storedNames(), QStringList({"بهرام", "آرش"}));
        QCOMPARE(deleted->entries().size(), 1);
        QVERIFY(list->model()->waitUntilShown(10000));
        QCOMPARE(names(*list), QStringList({"بهرام", "آرش"}));
    }

    // Opened from the main window, the list changes entries through its
    // worker and history: the count box follows the list's delete, the
    // main window's undo brings the entry back in the list, and an add
    // there shows here.
    void followsTheMainWindow()
    {
        fill({"آرش", "بهرام"});
        MainWindow main(fake->desktop());
        QVERIFY(main.start());
        QCOMPARE(main.controls().countBox->text(), QStringLiteral("2"));
        click(main.controls().listButton);
        QPointer<ContactListWindow> list = qobject_cast<ContactListWindow *>(fake->shown.last());
        QVERIFY(list);

        clickCell(list->grid(), 0, 0);
        QTest::keyClick(list->grid(), Qt::Key_Delete);
        QTRY_COMPARE(main.controls().countBox->text(), QStringLiteral("1"));

        main.undo();
        QTRY_COMPARE(main.controls().countBox->text(), QStringLiteral("2"));
        QVERIFY(list->model()->waitUntilShown(10000));
        QCOMPARE(list->model()->rowCount(), 2);

        main.controls().nameBox->setText(QStringLiteral("مريم"));
        main.controls().phoneBox->setText(QStringLiteral("0912"));
        click(main.controls().addButton);
        QTRY_COMPARE(list->model()->rowCount(), 3);
        QVERIFY(names(*list).contains(QStringLiteral("مريم")));
        list->unload();
    }

    // On a server every operation runs on the worker's thread while the
    // window goes on: a delete asked for while a correction is under way
    // waits its turn, and both are stored, then undone one by one.
    void changedOnAServer()
    {
        const std::optional<TestServer> server = TestServer::find();
        if (!server)
            QSKIP("no test server: these tests run under CTest");
        const QString database = QStringLiteral("tst_contactlistwindow");
        QVERIFY(server->freshPhoneBook(database));
        QVERIFY(server->exec(database,
                             QStringLiteral("INSERT INTO test (\"نام\", \"تلفن\", "
                                            "\"رديف\") VALUES ('آرش', '0912', 1), "
                                            "('بهرام', '0935', 2)")));
        fake->server = server->url(database, QStringLiteral("clerk"));
        const auto stored = [&](const char *sql) {
            return server->scalar(database, QString::fromUtf8(sql)).toString();
        };
        auto list = openList();
        QCOMPARE(names(*list), QStringList({"آرش", "بهرام"}));

        correct(list->grid(), list->cellEditor(), 0, 2, QStringLiteral("همكار"));
        QCOMPARE(list->model()->index(0, 2).data().toString(), QStringLiteral("همكار"));
        clickCell(list->grid(), 1, 0);
        QTest::keyClick(list->grid(), Qt::Key_Delete);
        QCOMPARE(names(*list), QStringList({"آرش"}));
        QTRY_COMPARE(stored("SELECT count(*) FROM test"), QStringLiteral("1"));
        QCOMPARE(stored("SELECT \"يادداشت\" FROM test"), QStringLiteral("همكار"));

        list->grid()->setFocus();
        QTest::keyClick(list->grid(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(stored("SELECT count(*) FROM test"), QStringLiteral("2"));
        QTest::keyClick(list->grid(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(stored("SELECT coalesce(\"يادداشت\", '') FROM test ORDER BY id LIMIT 1"),
                     QString());
        QVERIFY(list->model()->waitUntilShown(10000));
        QTRY_COMPARE(list->model()->rowCount(), 2);
        QVERIFY(fake->boxes.isEmpty());
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
