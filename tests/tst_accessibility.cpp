// What a screen reader finds in every window, through Qt's accessibility
// interfaces: the painted buttons as push buttons a reader can press, the
// boxes named by their labels, the list as a table read through its model,
// and no control that takes the focus without a name.
#include "button/paintedbutton.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "main/mainwindow.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "windows/aboutwindow.h"
#include "windows/codepromptwindow.h"
#include "windows/contactgrid.h"
#include "windows/contactlistwindow.h"
#include "windows/helpwindow.h"
#include "windows/picturewindow.h"

#include <QAbstractTableModel>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace dialvault;

namespace {

QAccessibleInterface *readerView(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject *object)
{
    return readerView(object)->text(QAccessible::Name);
}

std::unique_ptr<FormWindow> makeWindow(int number, const Desktop &desktop)
{
    switch (number) {
    case 1:
        return std::make_unique<MainWindow>(desktop);
    case 2:
        return std::make_unique<HelpWindow>(desktop);
    case 3:
        return std::make_unique<AboutWindow>(desktop);
    case 4:
        return std::make_unique<PictureWindow>(desktop);
    case 5:
        return std::make_unique<ContactListWindow>(desktop);
    default:
        return std::make_unique<CodePromptWindow>(desktop);
    }
}

// A table of a million rows that counts the cells it is asked for.
class CountingModel : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex & = {}) const override { return 1'000'000; }
    int columnCount(const QModelIndex & = {}) const override { return 4; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        ++asked;
        return QStringLiteral("%1,%2").arg(index.row()).arg(index.column());
    }
    mutable int asked = 0;
};

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDesktop> fake;
    QString db;

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        fake = std::make_unique<FakeDesktop>();
        fake->folder = dir->path();
        db = makeEmptyDatabase(dir->path());
    }
    void cleanup() { fake.reset(); }

    void everyWindow_data()
    {
        QTest::addColumn<int>("window");
        for (int number = 1; number <= 6; ++number)
            QTest::addRow("Form%d", number) << number;
    }
    // Named by its caption, its buttons push buttons named by theirs, and
    // nothing that takes the focus left without a name.
    void everyWindow()
    {
        QFETCH(int, window);
        const std::unique_ptr<FormWindow> form = makeWindow(window, fake->desktop());
        QCOMPARE(readerView(form.get())->role(), QAccessible::Window);
        QCOMPARE(nameOf(form.get()).trimmed(), form->layout().caption.trimmed());
        for (const ControlLayout &control : form->layout().controls) {
            if (control.kind != ControlKind::Button)
                continue;
            QAccessibleInterface *view = readerView(form->findChild<PaintedButton *>(control.name));
            QCOMPARE(view->role(), QAccessible::PushButton);
            // "پاک کردن " ends in a space that is not spoken.
            QCOMPARE(view->text(QAccessible::Name), control.text.trimmed());
            QCOMPARE(view->text(QAccessible::Description), control.toolTip);
        }
        for (QWidget *widget : form->findChildren<QWidget *>()) {
            if (widget->focusPolicy() != Qt::NoFocus && widget->isEnabled()
                && widget->isVisibleTo(form.get()))
                QVERIFY2(!nameOf(widget).trimmed().isEmpty(), qPrintable(widget->objectName()));
        }
    }

    void captionsAreSpokenWithoutAccessMarkers_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accelerator");
        QTest::newRow("marker") << QStringLiteral("&Save") << QStringLiteral("Save") << "Alt+S";
        QTest::newRow("literal") << QStringLiteral("A && B") << QStringLiteral("A & B") << "";
        QTest::newRow("literal, marker")
            << QStringLiteral("&&&x") << QStringLiteral("&x") << "Alt+X";
        QTest::newRow("lone marker") << QStringLiteral("Save&") << QStringLiteral("Save") << "";
        QTest::newRow("spaces") << QStringLiteral(" اضافه کردن ") << QStringLiteral("اضافه کردن")
                                << "";
    }
    void captionsAreSpokenWithoutAccessMarkers()
    {
        QFETCH(QString, caption);
        QFETCH(QString, name);
        QFETCH(QString, accelerator);
        PaintedButton button;
        button.setCaption(caption);
        QAccessibleInterface *view = readerView(&button);
        QCOMPARE(view->text(QAccessible::Name), name);
        QCOMPARE(view->text(QAccessible::Accelerator), accelerator);
        button.setCaption(QStringLiteral("&حذف"));
        QCOMPARE(view->text(QAccessible::Name), QStringLiteral("حذف"));
    }

    void pressActionClicksAsSpaceDoes()
    {
        PaintedButton button;
        button.resize(80, 24);
        QStringList events;
        const auto mouse = [&](const char *what) {
            return [&events, what](short &b, short &s, float &, float &) {
                events << QStringLiteral("%1 %2 %3").arg(what).arg(b).arg(s);
            };
        };
        connect(&button, &PaintedButton::MouseDown, &button, mouse("down"));
        connect(&button, &PaintedButton::MouseUp, &button, mouse("up"));
        connect(&button, &PaintedButton::Click, &button, [&] {
            // Drawn released before the host hears of the click.
            events << QStringLiteral("Click %1").arg(int(button.face().lastState));
        });
        QAccessibleActionInterface *actions = readerView(&button)->actionInterface();
        const QString press = QAccessibleActionInterface::pressAction();
        QVERIFY(actions->actionNames().contains(press));

        QTest::keyClick(&button, Qt::Key_Space);
        const QStringList bySpace = std::exchange(events, {});
        QCOMPARE(bySpace, (QStringList{"down 1 1", "up 1 1", "Click 0"}));
        actions->doAction(press);
        QCOMPARE(std::exchange(events, {}), bySpace);
        // A right press keeps the access key from clicking, not the space key.
        QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(5, 5));
        events.clear();
        actions->doAction(press);
        QCOMPARE(std::exchange(events, {}), bySpace);

        button.setButtonEnabled(false);
        actions->doAction(press);
        QCOMPARE(events, QStringList{});
        QVERIFY(readerView(&button)->state().disabled);
    }

    void mainWindowReadsItsBoxesAndButtonStates()
    {
        MainWindow main(fake->desktop());
        const MainWindowControls &c = main.controls();
        fake->showWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
        // The colon and the tatweels of ":نـــــــام" are for the eye.
        QCOMPARE(nameOf(c.nameBox), QStringLiteral("نام"));
        QCOMPARE(nameOf(c.phoneBox), QStringLiteral("شماره تلفن"));
        QCOMPARE(nameOf(c.noteBox), QStringLiteral("يادداشت"));
        QCOMPARE(nameOf(c.countBox), QStringLiteral("تعداد شماره هاي ذخيره شده"));
        const auto labels = readerView(c.phoneBox)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->object(), c.phoneLabel);

        const auto stateOf = [](PaintedButton *button) { return readerView(button)->state(); };
        QVERIFY(stateOf(c.searchButton).defaultButton);
        QVERIFY(!stateOf(c.addButton).defaultButton);
        c.addButton->setFocus();
        QVERIFY(stateOf(c.addButton).focused);
        QTest::mousePress(c.addButton, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(stateOf(c.addButton).pressed);
        QTest::mouseRelease(c.addButton, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!stateOf(c.addButton).pressed);
    }

    void passwordEntryIsAPasswordText()
    {
        CodePromptWindow prompt(fake->desktop());
        FormTextBox *box = prompt.controls().codeBox;
        box->setText(QStringLiteral("secret"));
        QAccessibleInterface *entry = readerView(box);
        QCOMPARE(entry->text(QAccessible::Name), QStringLiteral("Password"));
        QVERIFY(entry->state().passwordEdit);
        QVERIFY(!entry->text(QAccessible::Value).contains(QStringLiteral("secret")));
    }

    // The red bullets take the focus; each reads as the lines it introduces.
    void helpAndAboutReadInTabOrder_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QStringList>("spoken");
        QTest::addRow("help") << 2
                              << QStringList{"خروج",
                                             "براي جستجو نام را وارد كرده و روي جستجو كليك كنيد",
                                             "براي حذف كردن شماره از دفترچه نام را وارد كرده و "
                                             "روي حذف كردن كليك كنيد",
                                             "براي وارد كردن شماره به دفترچه نام و شماره را وارد "
                                             "كرده روي اضافه كردن شماره كليك كنيد"};
        QTest::addRow("about") << 3
                               << QStringList{"اين نرم افزار متعلق به گروه سازنده ديال والت است",
                                              "نوشته شده در تاريخ   1383/5/28", "خروج",
                                              "برنامه نويس"};
    }
    void helpAndAboutReadInTabOrder()
    {
        QFETCH(int, window);
        QFETCH(QStringList, spoken);
        const std::unique_ptr<FormWindow> form = makeWindow(window, fake->desktop());
        fake->showWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QStringList heard;
        QWidget *first = QApplication::focusWidget();
        do {
            heard << nameOf(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } while (QApplication::focusWidget() != first && heard.size() <= spoken.size());
        QCOMPARE(heard, spoken);
        QCOMPARE(readerView(form->findChild<QWidget *>(QStringLiteral("Picture1")))->role(),
                 QAccessible::StaticText);
    }

    void listIsATableOfThePhoneBook()
    {
        insertRow(db, {QStringLiteral("علي"), QStringLiteral("0912"), QStringLiteral("دوست"), 1});
        insertRow(db, {QStringLiteral("مريم"), QStringLiteral("021"), QString(), 2});
        ContactListWindow list(fake->desktop());
        QAccessibleInterface *view = readerView(list.grid());
        QCOMPARE(view->role(), QAccessible::Table);
        QCOMPARE(view->text(QAccessible::Name), QStringLiteral("ليست مشترك ها"));
        QAccessibleTableInterface *table = view->tableInterface();
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(view->childCount(), 3 * 4);
        const QStringList fields{"نام", "تلفن", "يادداشت", "رديف"};
        for (int column = 0; column < 4; ++column)
            QCOMPARE(table->columnDescription(column), fields.at(column));

        QAccessibleInterface *cell = table->cellAt(1, 0);
        QCOMPARE(cell->role(), QAccessible::Cell);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("مريم"));
        QCOMPARE(table->cellAt(0, 2)->text(QAccessible::Name), QStringLiteral("دوست"));
        QAccessibleInterface *heading = cell->tableCellInterface()->columnHeaderCells().value(0);
        QCOMPARE(heading->role(), QAccessible::ColumnHeader);
        QCOMPARE(heading->text(QAccessible::Name), fields.at(0));
        QCOMPARE(cell->parent(), view);
        QCOMPARE(view->child(view->indexOfChild(cell)), cell);
        QVERIFY(!table->cellAt(2, 0));
        QVERIFY(table->cellAt(0, 0)->state().selected);
        QVERIFY(!cell->state().selected);
    }

    void millionRowsAreReadOnlyWhereAsked()
    {
        CountingModel model;
        QWidget window;
        auto *before = new QLineEdit(&window);
        auto *grid = new ContactGrid(&window);
        grid->setGeometry(0, 30, 409, 193);
        grid->setModel(&model);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        model.asked = 0;
        QAccessibleInterface *view = readerView(grid);
        QAccessibleTableInterface *table = view->tableInterface();
        QCOMPARE(view->childCount(), 4'000'004);
        QAccessibleInterface *last = view->child(view->childCount() - 1);
        QCOMPARE(last->text(QAccessible::Name), QStringLiteral("999999,3"));
        QVERIFY(last->state().offscreen);
        QVERIFY(!table->cellAt(0, 0)->state().offscreen);
        QCOMPARE(model.asked, 1);

        // The focus goes to the current cell as it moves.
        before->setFocus();
        QVERIFY(!view->focusChild());
        grid->setFocus(Qt::TabFocusReason);
        QAccessibleInterface *first = view->focusChild();
        QCOMPARE(first->text(QAccessible::Name), QStringLiteral("0,0"));
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_End);
        QCOMPARE(view->focusChild()->text(QAccessible::Name), QStringLiteral("1,3"));
        QVERIFY(view->focusChild()->state().focused);
        QVERIFY(!first->state().focused);

        // Everything selected from the corner: counted, but listed only as far
        // as a reader could speak it.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(table->selectedCellCount(), 4'000'000);
        QCOMPARE(table->selectedRowCount(), 1'000'000);
        QVERIFY(table->isRowSelected(999'999));
        QVERIFY(table->selectedCells().size() <= 1000);
        QVERIFY(table->selectedRows().size() <= 1000);

        // Rows marked one by one are the selection, whole and nothing else.
        grid->selectRows({900'000, 5, 2});
        QCOMPARE(table->selectedRows(), (QList<int>{2, 5, 900'000}));
        QCOMPARE(table->selectedCellCount(), 12);
        QCOMPARE(table->selectedColumnCount(), 0);
        QVERIFY(table->cellAt(5, 3)->state().selected);
        QVERIFY(!table->cellAt(3, 0)->state().selected);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
