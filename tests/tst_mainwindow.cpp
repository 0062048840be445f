// The main window driven through its own widgets, with the window system
// replaced by FakeDesktop and a fresh database in a temporary folder.
#include "button/paintedbutton.h"
#include "desktop/failurewords.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "main/clocktext.h"
#include "main/mainwindow.h"
#include "main/mainwindowtexts.h"
#include "store/contactstore.h"
#include "store/storeerror.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace dialvault;
using namespace dialvault::mainwindowtexts;

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDesktop> fake;
    std::unique_ptr<MainWindow> form;
    QString db;

    // Builds and starts the window over the current database.
    void startForm()
    {
        form = std::make_unique<MainWindow>(fake->desktop());
        QVERIFY(form->start());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void fill(const QString &name, const QString &phone, const QString &note)
    {
        form->controls().nameBox->setText(name);
        form->controls().phoneBox->setText(phone);
        form->controls().noteBox->setText(note);
    }
    void click(PaintedButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    }
    QStringList boxTexts() const
    {
        QStringList texts;
        for (const auto &box : fake->boxes)
            texts << box.text;
        return texts;
    }
    void verifyBoxes(const QString &one, const QString &two, const QString &three)
    {
        QCOMPARE(form->controls().nameBox->text(), one);
        QCOMPARE(form->controls().phoneBox->text(), two);
        QCOMPARE(form->controls().noteBox->text(), three);
    }

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        fake = std::make_unique<FakeDesktop>();
        fake->folder = dir->path();
        db = makeEmptyDatabase(dir->path());
    }
    void cleanup()
    {
        form.reset();
        fake.reset();
        dir.reset();
    }

    void startupFailureEndsTheProgram_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FailureCause>("cause");
        QTest::newRow("no db1.mdb") << "missing" << FailureCause::CannotOpen;
        QTest::newRow("not a database") << "text" << FailureCause::NotADatabase;
        QTest::newRow("no table test") << "notable" << FailureCause::NoTable;
    }
    void startupFailureEndsTheProgram()
    {
        QFETCH(QString, kind);
        QFETCH(FailureCause, cause);
        QFile::remove(db);
        if (kind == QLatin1String("text")) {
            QFile file(db);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("This file is plain text, not a database.\n");
        } else if (kind == QLatin1String("notable")) {
            makeEmptyDatabase(dir->path());
            QCOMPARE(
                execSql(db, QStringLiteral("DROP TABLE test; CREATE TABLE contacts (x TEXT);")),
                QString());
        }
        form = std::make_unique<MainWindow>(fake->desktop());
        QVERIFY(!form->start());
        QCOMPARE(fake->boxes.size(), 1);
        QCOMPARE(fake->boxes[0].style, 0);
        QCOMPARE(fake->boxes[0].title, QStringLiteral("Dialvault"));
        // What failed and why in Persian, the file's full path, then the engine's own words.
        const QString text = fake->boxes[0].text;
        QVERIFY2(text.startsWith(startupFailed() + u'\n' + causeWords(cause)), qPrintable(text));
        QVERIFY2(text.contains(QDir(dir->path()).filePath(QStringLiteral("db1.mdb"))),
                 qPrintable(text));
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\d+: \\S"))), qPrintable(text));
        QCOMPARE(fake->endCount, 1);
        QCOMPARE(fake->exitStatus, 1);
        QVERIFY(fake->shown.isEmpty());
        QVERIFY(!form->isVisible());
        // The program never makes the file itself.
        QCOMPARE(QFile::exists(db), kind != QLatin1String("missing"));
    }

    void startupShowsCountAndFocus()
    {
        insertRow(db, {QStringLiteral("a"), QStringLiteral("1"), QString(), 1});
        insertRow(db, {QStringLiteral("b"), QStringLiteral("2"), QString(), 2});
        form = std::make_unique<MainWindow>(fake->desktop());
        QCOMPARE(form->controls().clockLabel->text(), QStringLiteral("Label4"));
        QCOMPARE(form->controls().noteBox->text(), QStringLiteral(" "));
        QCOMPARE(form->controls().countBox->text(), QString());
        QVERIFY(form->start());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("2"));
        QCOMPARE(QApplication::focusWidget(), form->controls().nameBox);
        QVERIFY(!form->controls().countBox->isEnabled());
        QVERIFY(fake->boxes.isEmpty());
    }

    void tabOrderCyclesThroughBoxesAndButtons()
    {
        startForm();
        const QList<QWidget *> expected{
            form->controls().phoneBox,     form->controls().noteBox,
            form->controls().searchButton, form->controls().clearButton,
            form->controls().helpButton,   form->controls().aboutButton,
            form->controls().exitButton,   form->controls().listButton,
            form->controls().addButton,    form->controls().deleteButton,
            form->controls().nameBox};
        for (QWidget *next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void clearEmptiesTheThreeBoxesOnly()
    {
        startForm();
        fill(QStringLiteral("name"), QStringLiteral("123"), QStringLiteral("note"));
        click(form->controls().clearButton);
        verifyBoxes({}, {}, {});
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("0"));
        click(form->controls().clearButton);
        verifyBoxes({}, {}, {});
        QVERIFY(fake->boxes.isEmpty());
    }

    void searchShowsTheFirstEntryAndRefreshes()
    {
        insertRow(db, {QStringLiteral("علي"), QStringLiteral("0912"), QStringLiteral("اول"), 1});
        insertRow(db, {QStringLiteral("علي"), QStringLiteral("0935"), QStringLiteral("دوم"), 2});
        insertRow(db, {QStringLiteral("مريم"), QStringLiteral("021"), QString(), 3});
        startForm();
        // Rows written by another program since start-up show only after a refresh.
        insertRow(db, {QStringLiteral("x"), QStringLiteral("9"), QString(), 4});
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("3"));

        fill(QStringLiteral("علي"), QStringLiteral("typed"), QStringLiteral("typed"));
        click(form->controls().searchButton);
        QVERIFY(fake->boxes.isEmpty());
        verifyBoxes(QStringLiteral("علي"), QStringLiteral("0912"), QStringLiteral("اول"));
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("4"));

        // A stored empty note empties the note box; Enter in a box searches too.
        form->controls().nameBox->setText(QStringLiteral("مريم"));
        form->controls().nameBox->setFocus();
        QTest::keyClick(form->controls().nameBox, Qt::Key_Return);
        verifyBoxes(QStringLiteral("مريم"), QStringLiteral("021"), QString());
        QVERIFY(fake->boxes.isEmpty());

        // Typed with the Persian keyboard's letter forms, stored with the Arabic ones.
        form->controls().nameBox->setText(QStringLiteral("علی"));
        click(form->controls().searchButton);
        QCOMPARE(form->controls().phoneBox->text(), QStringLiteral("0912"));
    }

    void searchWithoutNameAsksForIt()
    {
        startForm();
        form->controls().phoneBox->setText(QStringLiteral("kept"));
        form->controls().phoneBox->setFocus();
        insertRow(db, {QStringLiteral("a"), QStringLiteral("1"), QString(), 1});
        click(form->controls().searchButton);
        QCOMPARE(boxTexts(), QStringList{searchNeedsName()});
        QCOMPARE(fake->boxes[0].style, 0);
        QCOMPARE(fake->boxes[0].title, QStringLiteral("Dialvault"));
        QCOMPARE(QApplication::focusWidget(), form->controls().nameBox);
        QCOMPARE(form->controls().phoneBox->text(), QStringLiteral("kept"));
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("0"));
    }

    void searchForUnknownNameEmptiesTheBoxes()
    {
        insertRow(db, {QStringLiteral("a"), QStringLiteral("1"), QString(), 1});
        startForm();
        insertRow(db, {QStringLiteral("b"), QStringLiteral("2"), QString(), 2});
        fill(QStringLiteral("nobody"), QStringLiteral("123"), QStringLiteral("note"));
        QString shownWhileOpen;
        fake->whileOpen
            = [&](const FakeDesktop::Box &) { shownWhileOpen = form->controls().nameBox->text(); };
        click(form->controls().searchButton);
        QCOMPARE(boxTexts(), QStringList{searchNotFound()});
        QCOMPARE(fake->boxes[0].title, QStringLiteral("Dialvault"));
        QCOMPARE(shownWhileOpen, QStringLiteral("nobody"));
        verifyBoxes({}, {}, {});
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("1"));
    }

    void searchShowsAStoredNullAsEmptyText()
    {
        startForm();
        QCOMPARE(
            execSql(db,
                    QStringLiteral("INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", \"رديف\") "
                                   "VALUES ('n', '0912', NULL, 1)")),
            QString());
        fill(QStringLiteral("n"), QStringLiteral("old"), QStringLiteral("old note"));
        click(form->controls().searchButton);
        QVERIFY(fake->boxes.isEmpty());
        verifyBoxes(QStringLiteral("n"), QStringLiteral("0912"), QString());
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("1"));
    }

    void addValidatesNameThenPhone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focusBox");
        QTest::newRow("both empty") << QString() << QString() << addNeedsName() << 1;
        QTest::newRow("no name") << QString() << QStringLiteral("123") << addNeedsName() << 1;
        QTest::newRow("no phone") << QStringLiteral("a") << QString() << addNeedsPhone() << 2;
    }
    void addValidatesNameThenPhone()
    {
        QFETCH(QString, name);
        QFETCH(QString, phone);
        QFETCH(QString, message);
        QFETCH(int, focusBox);
        startForm();
        form->controls().noteBox->setFocus();
        form->controls().nameBox->setText(name);
        form->controls().phoneBox->setText(phone);
        click(form->controls().addButton);
        QCOMPARE(boxTexts(), QStringList{message});
        QCOMPARE(fake->boxes[0].style, 0);
        QCOMPARE(fake->boxes[0].title, QStringLiteral("Dialvault"));
        QCOMPARE(QApplication::focusWidget(),
                 focusBox == 1 ? form->controls().nameBox : form->controls().phoneBox);
        QVERIFY(storedRows(db).isEmpty());
    }

    void addStoresConfirmsThenEmpties()
    {
        startForm();
        // The note box still holds its start-up space; names of spaces count as filled.
        form->controls().nameBox->setText(QStringLiteral(" "));
        form->controls().phoneBox->setText(QStringLiteral("0912 000"));
        QStringList whileOpen;
        fake->whileOpen = [&](const FakeDesktop::Box &) {
            whileOpen << form->controls().nameBox->text() << form->controls().phoneBox->text()
                      << form->controls().noteBox->text() << form->controls().countBox->text();
        };
        click(form->controls().addButton);
        QCOMPARE(boxTexts(), QStringList{addStored()});
        QCOMPARE(fake->boxes[0].style, 64);
        QCOMPARE(fake->boxes[0].title, addStoredTitle());
        QCOMPARE(whileOpen,
                 (QStringList{QStringLiteral(" "), QStringLiteral("0912 000"), QStringLiteral(" "),
                              QStringLiteral("0")}));
        verifyBoxes({}, {}, {});
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("1"));
        const auto rows = storedRows(db);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, QStringLiteral(" "));
        QCOMPARE(rows[0].phone, QStringLiteral("0912 000"));
        QCOMPARE(rows[0].note, QStringLiteral(" "));
        QCOMPARE(rows[0].rowNumber, 1.0);
    }

    void addAfterDeleteReusesTheCount()
    {
        for (int i = 1; i <= 3; ++i)
            insertRow(
                db,
                {QStringLiteral("n%1").arg(i), QStringLiteral("%1").arg(i), QString(), double(i)});
        startForm();
        form->controls().nameBox->setText(QStringLiteral("n1"));
        click(form->controls().deleteButton);
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("2"));
        fill(QStringLiteral("new"), QStringLiteral("4"), QString());
        click(form->controls().addButton);
        const auto rows = storedRows(db);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.last().name, QStringLiteral("new"));
        QCOMPARE(rows.last().note, QString());
        QCOMPARE(rows.last().rowNumber, 3.0); // equal to the row number of "n3", still present
    }

    void addAfterFailedSearchStoresInTheTable()
    {
        startForm();
        form->controls().nameBox->setText(QStringLiteral("nobody"));
        click(form->controls().searchButton);
        fill(QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("n"));
        click(form->controls().addButton);
        QCOMPARE(boxTexts(), (QStringList{searchNotFound(), addStored()}));
        QCOMPARE(storedRows(db).size(), 1);
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("1"));
    }

    // Failures other than "no entry" are said, with their cause, and leave no
    // stale value beside the name that was asked for.
    void refusedOperationsSayWhy_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("headline");
        QTest::addColumn<FailureCause>("cause");
        QTest::addColumn<QStringList>("boxesAfter");
        QTest::addColumn<int>("rowsAfter");
        const QStringList typed{QStringLiteral("n"), QStringLiteral("typed"), QStringLiteral("t")};
        QTest::newRow("search, table gone") << "search"
                                            << "table gone" << searchFailed() << FailureCause::Other
                                            << QStringList{QStringLiteral("n"), {}, {}} << -1;
        QTest::newRow("search, count row gone")
            << "search"
            << "count gone" << refreshFailed() << FailureCause::Damaged
            << QStringList{QStringLiteral("n"), QStringLiteral("0912"), QStringLiteral("old")} << 1;
        QTest::newRow("delete, table gone")
            << "delete"
            << "table gone" << deleteFailed() << FailureCause::Other << typed << -1;
        QTest::newRow("delete, locked")
            << "delete"
            << "locked" << deleteFailed() << FailureCause::BusyOrLocked << typed << 1;
        QTest::newRow("add, count not a number")
            << "add"
            << "count text" << addNotStored() << FailureCause::Other << typed << 1;
    }
    void refusedOperationsSayWhy()
    {
        QFETCH(QString, operation);
        QFETCH(QString, fault);
        QFETCH(QString, headline);
        QFETCH(FailureCause, cause);
        QFETCH(QStringList, boxesAfter);
        QFETCH(int, rowsAfter);
        insertRow(db, {QStringLiteral("n"), QStringLiteral("0912"), QStringLiteral("old"), 1});
        startForm();
        RawDatabase other(db);
        if (fault == QLatin1String("table gone"))
            QVERIFY(other.exec(QStringLiteral("ALTER TABLE test RENAME TO gone")));
        else if (fault == QLatin1String("count gone"))
            QVERIFY(other.exec(QStringLiteral("DELETE FROM test_count")));
        else if (fault == QLatin1String("locked"))
            QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        else
            form->controls().countBox->setText(QStringLiteral("not a number"));
        fill(QStringLiteral("n"), QStringLiteral("typed"), QStringLiteral("t"));

        PaintedButton *button = operation == QLatin1String("search") ? form->controls().searchButton
            : operation == QLatin1String("delete")                   ? form->controls().deleteButton
                                                                     : form->controls().addButton;
        click(button);
        QCOMPARE(fake->boxes.size(), 1);
        QVERIFY2(fake->boxes[0].text.startsWith(headline + u'\n' + causeWords(cause) + u'\n'),
                 qPrintable(fake->boxes[0].text));
        QCOMPARE(fake->endCount, 0);
        verifyBoxes(boxesAfter.at(0), boxesAfter.at(1), boxesAfter.at(2));
        other.exec(QStringLiteral("ROLLBACK"));
        if (rowsAfter >= 0)
            QCOMPARE(storedRows(db).size(), rowsAfter);
    }

    void refusedAddKeepsTheEntryAndTheProgram()
    {
        startForm();
        // Another program took away the count the phone book keeps: no add
        // can be stored until it is back.
        RawDatabase other(db);
        QVERIFY(other.exec(QStringLiteral("DROP TABLE test_count")));
        fill(QStringLiteral("a long name"), QStringLiteral("1"), QStringLiteral("n"));
        click(form->controls().addButton);
        QCOMPARE(fake->boxes.size(), 1);
        QVERIFY(fake->boxes[0].text.startsWith(QStringLiteral("اين شماره ذخيره نشد.")));
        QVERIFY(fake->boxes[0].text.contains(QStringLiteral("test_count")));
        QCOMPARE(fake->boxes[0].title, QStringLiteral("Dialvault"));
        QCOMPARE(fake->endCount, 0);
        verifyBoxes(QStringLiteral("a long name"), QStringLiteral("1"), QStringLiteral("n"));
        QVERIFY(storedRows(db).isEmpty());
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("0"));

        QVERIFY(other.exec(QStringLiteral("CREATE TABLE test_count(n INTEGER NOT NULL); "
                                          "INSERT INTO test_count VALUES (0)")));
        click(form->controls().addButton);
        QCOMPARE(fake->boxes.last().text, addStored());
        QCOMPARE(storedRows(db).size(), 1);
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("1"));
    }

    void deleteRemovesOneEntryByName()
    {
        for (int i = 1; i <= 3; ++i)
            insertRow(db,
                      {QStringLiteral("same"), QStringLiteral("%1").arg(i), QString(), double(i)});
        startForm();
        fill(QStringLiteral("same"), QStringLiteral("unrelated"), QStringLiteral("unrelated"));
        click(form->controls().deleteButton);
        QVERIFY(fake->boxes.isEmpty());
        verifyBoxes({}, {}, {});
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("2"));
        const auto rows = storedRows(db);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].phone, QStringLiteral("2"));

        // The name box is empty now: the next delete needs the name again.
        click(form->controls().deleteButton);
        QCOMPARE(boxTexts(), QStringList{deleteNeedsName()});
        QCOMPARE(fake->boxes[0].title, QStringLiteral("Dialvault"));
        QCOMPARE(QApplication::focusWidget(), form->controls().nameBox);
        QCOMPARE(storedRows(db).size(), 2);
    }

    void deletingTheLastEntryThenAgainReportsIt()
    {
        insertRow(db, {QStringLiteral("only"), QStringLiteral("1"), QString(), 1});
        startForm();
        form->controls().nameBox->setText(QStringLiteral("only"));
        click(form->controls().deleteButton);
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("0"));
        fill(QStringLiteral("only"), QStringLiteral("x"), QStringLiteral("y"));
        click(form->controls().deleteButton);
        QCOMPARE(boxTexts(), QStringList{deleteNotFound()});
        QCOMPARE(fake->boxes[0].style, 0);
        verifyBoxes({}, {}, {});
    }

    // The history's keys leave Ctrl+Z to the boxes, undo and redo the
    // window's steps, and say how it went.
    void stepsAreUndoneAndRedoneByKeys()
    {
        insertRow(db, {QStringLiteral("same"), QStringLiteral("1"), QString(), 1});
        startForm();
        fill(QStringLiteral("new"), QStringLiteral("2"), QString());
        click(form->controls().addButton);
        form->controls().nameBox->setText(QStringLiteral("same"));
        click(form->controls().deleteButton);
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("1"));
        fake->boxes.clear();
        int changes = 0;
        connect(form.get(), &MainWindow::entriesChanged, this, [&] { ++changes; });

        QLineEdit *const name = form->controls().nameBox;
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("typed"));
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(name->text(), QString());
        QCOMPARE(storedRows(db).size(), 1);

        const auto press = [&](Qt::KeyboardModifiers modifiers, Qt::Key key) -> QString {
            fake->boxes.clear();
            QTest::keyClick(name, key, modifiers);
            if (!QTest::qWaitFor([&] { return !fake->boxes.isEmpty(); }))
                return QStringLiteral("no box");
            return boxTexts().join(u'\n');
        };
        const Qt::KeyboardModifiers undoKeys = Qt::ControlModifier | Qt::AltModifier;
        QCOMPARE(press(undoKeys, Qt::Key_Z), undoDone().arg(stepDelete(1)));
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("2"));
        QCOMPARE(press(undoKeys, Qt::Key_Z), undoDone().arg(stepAdd()));
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("1"));
        QCOMPARE(storedRows(db)[0].name, QStringLiteral("same"));
        QCOMPARE(press(undoKeys, Qt::Key_Z), undoNothing());
        QCOMPARE(press(undoKeys, Qt::Key_Y), redoDone().arg(stepAdd()));
        QCOMPARE(press(undoKeys | Qt::ShiftModifier, Qt::Key_Z), redoDone().arg(stepDelete(1)));
        QCOMPARE(press(undoKeys, Qt::Key_Y), redoNothing());
        const auto rows = storedRows(db);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, QStringLiteral("new"));
        QCOMPARE(rows[0].rowNumber, 2.0); // put back as an add: the count plus 1
        QCOMPARE(form->controls().countBox->text(), QStringLiteral("1"));
        QCOMPARE(changes, 4);
    }

    // Entries deleted more than 30 days before the start are gone for good.
    void startupPurgesOldDeletedEntries()
    {
        const QDateTime now = fake->clock.toUTC();
        for (const int days : {31, 29})
            QCOMPARE(execSql(db,
                             QStringLiteral("INSERT INTO test_deleted (\"نام\", entry, "
                                            "deleted_at, reason) VALUES ('d%1', 1, '%2', "
                                            "'deleted')")
                                 .arg(days)
                                 .arg(now.addDays(-days).toString(Qt::ISODateWithMs))),
                     QString());
        startForm();
        QVERIFY(fake->boxes.isEmpty());
        ContactStore store(dir->path());
        const QList<DeletedEntry> kept = store.recentlyDeleted().value;
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept[0].fields.name, QStringLiteral("d29"));
    }

    void exitAsksAndEndsOnlyOnYes()
    {
        startForm();
        fill(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
        click(form->controls().exitButton);
        QCOMPARE(boxTexts(), QStringList{exitQuestion()});
        QCOMPARE(fake->boxes[0].style, 36);
        QCOMPARE(fake->boxes[0].title, QStringLiteral("Exit"));
        QCOMPARE(fake->endCount, 0);
        QVERIFY(form->isVisible());
        verifyBoxes(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));

        // Esc anywhere in the window asks the same question.
        fake->answers = {AnswerYes};
        QTest::keyClick(form->controls().phoneBox, Qt::Key_Escape);
        QCOMPARE(fake->boxes.size(), 2);
        QCOMPARE(fake->boxes[1].text, exitQuestion());
        QCOMPARE(fake->endCount, 1);
    }

    void closingFromOutsideAsksToo()
    {
        startForm();
        form->close();
        QCOMPARE(boxTexts(), QStringList{exitQuestion()});
        QVERIFY(form->isVisible());
    }

    void clockShowsTheTimeAndSleepsToTheNextSecond()
    {
        startForm();
        QTRY_COMPARE(form->controls().clockLabel->text(), generalDateText(fake->clock));
        QVERIFY(form->controls().clockTimer->isActive());
        // The fake clock stands 250 ms into its second.
        QVERIFY(form->controls().clockTimer->remainingTime() <= 751);
        fake->clock = fake->clock.addSecs(1);
        QTRY_COMPARE(form->controls().clockLabel->text(), generalDateText(fake->clock));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
