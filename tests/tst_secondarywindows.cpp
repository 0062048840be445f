// The help, about, password, picture and list windows, opened and closed as
// a person would: from the main window's buttons, by clicks and keys, and by
// the window manager's close.
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

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWindow>
#include <QtTest>

using namespace dialvault;

namespace {

const QString wrongCode = QStringLiteral("رمز عبور اشتباه مي باشد.");

void click(PaintedButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
}

} // namespace

class TestSecondaryWindows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeDesktop> fake;
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
        fake = std::make_unique<FakeDesktop>();
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
        MainWindow main(fake->desktop());
        QVERIFY(main.start());
        click(main.controls().helpButton);
        HelpWindow *help = only<HelpWindow>();
        QVERIFY(help && help->isVisible());
        QVERIFY(!help->parentWidget());
        // Asking again brings the same window forward, not reloaded.
        click(main.controls().helpButton);
        QCOMPARE(only<HelpWindow>(), help);
        QCOMPARE(fake->shown.count(help), 2);

        click(main.controls().aboutButton);
        QVERIFY(only<AboutWindow>());
        QVERIFY(main.isVisible());
        // Each names the window it was opened from, which the compositor may
        // keep it with.
        QCOMPARE(fake->openedFrom.last(), &main);
        click(only<AboutWindow>()->controls().programmerButton);
        QCOMPARE(fake->openedFrom.last(), only<AboutWindow>());
    }

    // Alt+F4 or the taskbar's close reaches the window through the platform,
    // as QWindow::close() does, not through its exit button.
    void closedByTheWindowManagerUnloadsAndOpensFresh()
    {
        MainWindow main(fake->desktop());
        QVERIFY(main.start());
        click(main.controls().listButton);
        ContactListWindow *list = only<ContactListWindow>();
        QTRY_COMPARE(list->grid()->model()->rowCount(), 0);
        QVERIFY(list->windowHandle()->close());
        QVERIFY(list->isUnloaded());
        QVERIFY(!list->isVisible());

        main.controls().nameBox->setText(QStringLiteral("مريم"));
        main.controls().phoneBox->setText(QStringLiteral("021"));
        click(main.controls().addButton);
        click(main.controls().listButton);
        ContactListWindow *again = only<ContactListWindow>();
        QVERIFY(again && again != list);
        QTRY_COMPARE(again->grid()->model()->rowCount(), 1);

        click(main.controls().aboutButton);
        click(only<AboutWindow>()->controls().programmerButton);
        CodePromptWindow *prompt = only<CodePromptWindow>();
        prompt->controls().codeBox->setText(QStringLiteral("123"));
        prompt->confirm();
        QVERIFY(prompt->windowHandle()->close());
        QVERIFY(prompt->isUnloaded());
        click(only<AboutWindow>()->controls().programmerButton);
        CodePromptWindow *fresh = only<CodePromptWindow>();
        QVERIFY(fresh && fresh != prompt);
        QCOMPARE(fresh->controls().codeBox->text(), QString());
        QCOMPARE(fresh->controls().messageLabel->text(), QString());
    }

    void closingTheMainWindowAsksOverIt()
    {
        MainWindow main(fake->desktop());
        QVERIFY(main.start());
        click(main.controls().helpButton);
        HelpWindow *help = only<HelpWindow>();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QVERIFY(!main.windowHandle()->close());
        QCOMPARE(fake->boxes.size(), 1);
        QCOMPARE(fake->boxes[0].owner, &main);
        QVERIFY(main.isVisible() && help->isVisible());
    }

    void exitUnloadsAndTheNextOpeningIsFresh()
    {
        MainWindow main(fake->desktop());
        QVERIFY(main.start());
        click(main.controls().aboutButton);
        click(only<AboutWindow>()->controls().programmerButton);
        CodePromptWindow *prompt = only<CodePromptWindow>();
        prompt->controls().codeBox->setText(QStringLiteral("123"));
        prompt->confirm();
        QCOMPARE(prompt->controls().messageLabel->text(), wrongCode);

        click(prompt->controls().exitButton);
        QVERIFY(open<CodePromptWindow>().isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        click(only<AboutWindow>()->controls().programmerButton);
        CodePromptWindow *again = only<CodePromptWindow>();
        QVERIFY(again);
        QCOMPARE(again->controls().codeBox->text(), QString());
        QCOMPARE(again->controls().messageLabel->text(), QString());
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
        CodePromptWindow prompt(fake->desktop());
        const CodePromptWindowControls &controls = prompt.controls();
        fake->showWindow(&prompt);
        QVERIFY(QTest::qWaitForWindowActive(&prompt));
        QCOMPARE(QApplication::focusWidget(), controls.codeBox);
        controls.codeBox->setText(typed);
        QCOMPARE(controls.codeBox->echoMode(), QLineEdit::Password);
        QTest::keyClick(controls.codeBox, Qt::Key_Return);
        QCOMPARE(bool(only<PictureWindow>()), opens);
        QCOMPARE(controls.messageLabel->text(), opens ? QString() : wrongCode);
        QCOMPARE(controls.codeBox->text(), typed);
    }

    void wrongThenRightKeepsTheMessageAndOneCard()
    {
        CodePromptWindow prompt(fake->desktop());
        prompt.show();
        prompt.controls().codeBox->setText(QStringLiteral("1"));
        prompt.confirm();
        prompt.controls().codeBox->setText(QStringLiteral("40923"));
        prompt.confirm();
        PictureWindow *card = only<PictureWindow>();
        QVERIFY(card);
        QCOMPARE(prompt.controls().messageLabel->text(), wrongCode);
        QVERIFY(prompt.isVisible());
        prompt.confirm();
        QCOMPARE(only<PictureWindow>(), card);
    }

    void escClosesWhereThereIsACancelButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("closes");
        QTest::newRow("help") << "help" << true;
        QTest::newRow("about") << "about" << true;
        QTest::newRow("picture") << "picture" << true;
        QTest::newRow("code prompt") << "code prompt" << false;
    }
    void escClosesWhereThereIsACancelButton()
    {
        QFETCH(QString, window);
        QFETCH(bool, closes);
        const Desktop desktop = fake->desktop();
        FormWindow *form = window == QLatin1String("help")
            ? static_cast<FormWindow *>(new HelpWindow(desktop))
            : window == QLatin1String("about") ? new AboutWindow(desktop)
            : window == QLatin1String("picture")
            ? static_cast<FormWindow *>(new PictureWindow(desktop))
            : new CodePromptWindow(desktop);
        fake->showWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(form->isUnloaded(), closes);
        QCOMPARE(form->isVisible(), !closes);
    }

    void chainWindowsCloseIndependently()
    {
        auto *about = new AboutWindow(fake->desktop());
        fake->showWindow(about);
        click(about->controls().programmerButton);
        CodePromptWindow *prompt = only<CodePromptWindow>();
        click(about->controls().exitButton);
        QVERIFY(open<AboutWindow>().isEmpty());
        prompt->controls().codeBox->setText(QStringLiteral("40923"));
        click(prompt->controls().confirmButton);
        QVERIFY(only<PictureWindow>());
        click(prompt->controls().exitButton);
        QVERIFY(only<PictureWindow>() && only<PictureWindow>()->isVisible());
    }
};

QTEST_MAIN(TestSecondaryWindows)
#include "tst_secondarywindows.moc"
