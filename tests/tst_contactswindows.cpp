// Contacts files and the windows: files dropped on the main window go into
// its phone book and the result is said in Persian; the list's grid menu
// exports every entry through the file dialog and selects the rows that
// match a part of a name or number.
#include "interchange/importfilecheck.h"
#include "layout/formtextbox.h"
#include "main/mainwindow.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmenu.h"
#include "windows/contactlistwindow.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

using namespace dialvault;

class TestContactsWindows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDesktop> fake;
    QString db;

    QUrl fixture(const QString &name)
    {
        const QString copy = dir->filePath(name);
        QFile::copy(QStringLiteral(DIALVAULT_TEST_DATA "/interchange/") + name, copy);
        return QUrl::fromLocalFile(copy);
    }

    // Drags `urls` over `target` and drops them there; whether it was taken.
    static bool drop(QWidget *target, const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        data.setText(QStringLiteral("dragged text"));
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
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

    void filesDroppedOnTheMainWindowComeIn()
    {
        insertRow(db, {QStringLiteral("اكبر كريمي"), QStringLiteral("0912 123 4567"), "", 1});
        MainWindow form(fake->desktop());
        QVERIFY(form.start());
        FormTextBox *nameBox = form.controls().nameBox;
        nameBox->setText(QStringLiteral("typed"));

        // Other drags still reach the box under the pointer.
        QVERIFY(drop(nameBox, {QUrl::fromLocalFile(dir->filePath("notes.txt"))}));
        QVERIFY(nameBox->text().contains(QStringLiteral("dragged text")));
        QVERIFY(fake->boxes.isEmpty());
        nameBox->setText(QStringLiteral("typed"));
        // Dropped on a text box, the files go in; the box keeps its text.
        QVERIFY(drop(nameBox,
                     {fixture("addressbook-3.0.vcf"), fixture("dialvault.csv"),
                      fixture("broken-quote.csv")}));
        QTRY_COMPARE(fake->boxes.size(), 1);
        QCOMPARE(nameBox->text(), QStringLiteral("typed"));
        const FakeDesktop::Box box = fake->boxes.first();
        QCOMPARE(box.text,
                 QStringLiteral("4 شماره اضافه شد، 1 شماره تکراري کنار گذاشته شد، 0 مورد بي نام و "
                                "شماره بود.\nپرونده %1، سطر 3 اضافه نشد: نقل قولي که بسته نمي شود")
                     .arg(QDir::toNativeSeparators(dir->filePath("broken-quote.csv"))));
        QCOMPARE(box.style, int(MsgOk));
        QCOMPARE(form.controls().countBox->text(), QStringLiteral("5"));
        const QList<StoredRow> rows = storedRows(db);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows.last().name, QStringLiteral("Zahra;Test"));
        QCOMPARE(rows.last().rowNumber, 5.0);
    }

    // The settings say how large a file an import takes; a larger one is
    // refused before it is read.
    void droppedFileLargerThanTheSettingIsRefused()
    {
        QVERIFY(fake->settings.write(importLimitSettingName, QStringLiteral("1")));
        const QString large = dir->filePath(QStringLiteral("large.vcf"));
        QFile file(large);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray card = "BEGIN:VCARD\r\nFN:x\r\nTEL:1\r\nEND:VCARD\r\n";
        QVERIFY(file.write(card.repeated((1 << 20) / card.size() + 1)) > (1 << 20));
        file.close();
        MainWindow form(fake->desktop());
        QVERIFY(form.start());
        QVERIFY(drop(&form, {QUrl::fromLocalFile(large), fixture("dialvault.csv")}));
        QTRY_COMPARE(fake->boxes.size(), 1);
        QVERIFY2(fake->boxes.first().text.endsWith(
                     QStringLiteral("پرونده %1 اضافه نشد: بزرگ تر از اندازه اي است که وارد مي شود "
                                    "(1 MiB)")
                         .arg(QDir::toNativeSeparators(large))),
                 qPrintable(fake->boxes.first().text));
        QCOMPARE(storedRows(db).size(), 2);
    }

    void listMenuExportsAndFinds()
    {
        for (int i = 0; i < 120; ++i)
            insertRow(db,
                      {QStringLiteral("نام %1").arg(i),
                       i % 50 == 37 ? QStringLiteral("+98 912 555 %1").arg(i)
                                    : QStringLiteral("021 %1").arg(i),
                       "", double(i + 1)});
        ContactListWindow list(fake->desktop());
        fake->showWindow(&list);
        ContactGrid *grid = list.grid();

        fake->menuChoice = ContactListMenu::exportText();
        fake->fileAnswers = {ChosenFile{dir->filePath("all"), QStringLiteral("CSV (*.csv)")}};
        Q_EMIT grid->customContextMenuRequested(QPoint(20, 20));
        QCOMPARE(fake->menusShown.last(),
                 QStringList({ContactListMenu::exportText(), ContactListMenu::findText(),
                              ContactListMenu::printText(), ContactListMenu::pdfText(), QString(),
                              ContactListWindow::undoText(), ContactListWindow::redoText(),
                              ContactListWindow::deleteText(),
                              ContactListWindow::recentlyDeletedText()}));
        QFile written(dir->filePath("all.csv"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().count('\n'), 121);
        QCOMPARE(fake->boxes.last().style, int(MsgOkInformation));

        // Digits of another script, with the country code as 0.
        fake->menuChoice = ContactListMenu::findText();
        fake->textAnswers = {QStringLiteral("۰۹۱۲ ۵۵۵")};
        const int boxes = fake->boxes.size();
        Q_EMIT grid->customContextMenuRequested(QPoint(20, 20));
        QCOMPARE(grid->selectedRows(), QList<int>({37, 87}));
        QCOMPARE(grid->currentRow(), 37);
        QVERIFY(grid->topRow() > 0 && grid->topRow() <= 37);
        QCOMPARE(fake->boxes.size(), boxes);

        // A click lets them go; nothing found says so.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(37, 1).center());
        QVERIFY(grid->selectedRows().isEmpty());
        fake->textAnswers = {QStringLiteral("nobody")};
        Q_EMIT grid->customContextMenuRequested(QPoint(20, 20));
        QCOMPARE(fake->boxes.size(), boxes + 1);
    }
};

QTEST_MAIN(TestContactsWindows)
#include "tst_contactswindows.moc"
