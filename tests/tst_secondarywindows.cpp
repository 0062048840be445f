// The help, about, password and picture windows, opened and closed as a
// person would: from the main window's buttons, by clicks and keys.
#include "button/paintedbutton.h"
#include "main/form1.h"
#include "support/fakeservices.h"
#include "support/sqlitefile.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/form4.h"
#include "windows/form6.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace dialvault;

namespace {

const QString wrongCode = QStringLiteral("رمز عبور اشتباه مي باشد.");

void click(FormWindow *window, const QString &button)
{
    QTest::mouseClick(window->control<PaintedButton>(button), Qt::LeftButton, {}, QPoint(10, 10));
}

} // namespace

class TestSecondaryWindows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeServices> fake;
    std::unique_ptr<QTemporaryDir> dir;

    // The open windows of a type; unloaded ones are on their way out.
    template <typename Window>
    QList<Window *> open() const
    {
        QList<Window *> windows;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *window = qobject_cast<Window *>(widget); window && !window->isUnloaded())
                windows.append(window);
        }
        return windows;
    }
    template <typename Window>
    Window *only() const
    {
        const QList<Window *> windows = open<Window>();
        return windows.size() == 1 ? windows.first() : nullptr;
    }

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        fake = std::make_unique<FakeServices>();
        fake->folder = dir->path();
        makeEmptyDatabase(dir->path());
    }
    void cleanup()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *window = qobject_cast<FormWindow *>(widget); window && !window->isUnloaded())
                window->unload();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fake.reset();
    }

    void mainWindowOpensEachWindowOnce()
    {
        Form1 main;
        QVERIFY(main.start());
        click(&main, QStringLiteral("paintedButton3"));
        Form2 *help = only<Form2>();
        QVERIFY(help && help->isVisible());
        QVERIFY(!help->parentWidget());
        // Asking again brings the same window forward, not reloaded.
        click(&main, QStringLiteral("paintedButton3"));
        QCOMPARE(only<Form2>(), help);
        QCOMPARE(fake->shown.count(help), 2);

        click(&main, QStringLiteral("paintedButton4"));
        QVERIFY(only<Form3>());
        QVERIFY(main.isVisible());
    }

    void exitUnloadsAndTheNextOpeningIsFresh()
    {
        Form1 main;
        QVERIFY(main.start());
        click(&main, QStringLiteral("paintedButton4"));
        click(only<Form3>(), QStringLiteral("paintedButton2"));
        Form6 *prompt = only<Form6>();
        prompt->Text1->setText(QStringLiteral("123"));
        prompt->confirm();
        QCOMPARE(prompt->Label1->text(), wrongCode);

        click(prompt, QStringLiteral("paintedButton2"));
        QVERIFY(open<Form6>().isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        click(only<Form3>(), QStringLiteral("paintedButton2"));
        Form6 *again = only<Form6>();
        QVERIFY(again);
        QCOMPARE(again->Text1->text(), QString());
        QCOMPARE(again->Label1->text(), QString());
    }

    void accessCodeIsComparedExactly_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right") << "40923" << true;
        QTest::newRow("right and a space") << "40923 " << false;
        QTest::newRow("space and right") << " 40923" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("persian digits") << "۴۰۹۲۳" << false;
    }
    void accessCodeIsComparedExactly()
    {
        QFETCH(QString, typed);
        QFETCH(bool, opens);
        Form6 prompt;
        fake->showWindow(&prompt);
        QVERIFY(QTest::qWaitForWindowActive(&prompt));
        QCOMPARE(QApplication::focusWidget(), prompt.Text1);
        prompt.Text1->setText(typed);
        QCOMPARE(prompt.Text1->echoMode(), QLineEdit::Password);
        QTest::keyClick(prompt.Text1, Qt::Key_Return);
        QCOMPARE(bool(only<Form4>()), opens);
        QCOMPARE(prompt.Label1->text(), opens ? QString() : wrongCode);
        QCOMPARE(prompt.Text1->text(), typed);
    }

    void wrongThenRightKeepsTheMessageAndOneCard()
    {
        Form6 prompt;
        prompt.show();
        prompt.Text1->setText(QStringLiteral("1"));
        prompt.confirm();
        prompt.Text1->setText(QStringLiteral("40923"));
        prompt.confirm();
        Form4 *card = only<Form4>();
        QVERIFY(card);
        QCOMPARE(prompt.Label1->text(), wrongCode);
        QVERIFY(prompt.isVisible());
        prompt.confirm();
        QCOMPARE(only<Form4>(), card);
    }

    void escClosesWhereThereIsACancelButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("closes");
        QTest::newRow("help") << "Form2" << true;
        QTest::newRow("about") << "Form3" << true;
        QTest::newRow("picture") << "Form4" << true;
        QTest::newRow("password") << "Form6" << false;
    }
    void escClosesWhereThereIsACancelButton()
    {
        QFETCH(QString, window);
        QFETCH(bool, closes);
        FormWindow *form = window == QLatin1String("Form2") ? static_cast<FormWindow *>(new Form2)
            : window == QLatin1String("Form3")              ? new Form3
            : window == QLatin1String("Form4")              ? static_cast<FormWindow *>(new Form4)
                                                            : new Form6;
        fake->showWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(form->isUnloaded(), closes);
        QCOMPARE(form->isVisible(), !closes);
    }

    void chainWindowsCloseIndependently()
    {
        auto *about = new Form3;
        fake->showWindow(about);
        click(about, QStringLiteral("paintedButton2"));
        Form6 *prompt = only<Form6>();
        click(about, QStringLiteral("paintedButton1"));
        QVERIFY(open<Form3>().isEmpty());
        prompt->Text1->setText(QStringLiteral("40923"));
        click(prompt, QStringLiteral("paintedButton1"));
        QVERIFY(only<Form4>());
        click(prompt, QStringLiteral("paintedButton2"));
        QVERIFY(only<Form4>() && only<Form4>()->isVisible());
    }
};

QTEST_MAIN(TestSecondaryWindows)
#include "tst_secondarywindows.moc"
