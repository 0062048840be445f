// Every window on a real Wayland compositor: weston without a screen, started
// by tools/westontest.sh. Shown, each reaches the compositor's screen as it
// draws itself, background picture and all, read back from a screenshot.
#include "desktop/qtwindowsystem.h"
#include "layout/layoutresources.h"
#include "main/mainwindow.h"
#include "support/compositorscreen.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "windows/aboutwindow.h"
#include "windows/codepromptwindow.h"
#include "windows/contactlistwindow.h"
#include "windows/helpwindow.h"
#include "windows/picturewindow.h"

#include <QGuiApplication>
#include <QWindow>
#include <QtTest>

using namespace dialvault;

class TestCompositorWindows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDesktop> fake;

    std::unique_ptr<FormWindow> windowNamed(const QString &name)
    {
        const Desktop desktop = fake->desktop();
        if (name == QLatin1String("main")) {
            auto main = std::make_unique<MainWindow>(desktop);
            return main->start() ? std::move(main) : nullptr;
        }
        if (name == QLatin1String("help"))
            return std::make_unique<HelpWindow>(desktop);
        if (name == QLatin1String("about"))
            return std::make_unique<AboutWindow>(desktop);
        if (name == QLatin1String("picture"))
            return std::make_unique<PictureWindow>(desktop);
        if (name == QLatin1String("list"))
            return std::make_unique<ContactListWindow>(desktop);
        return std::make_unique<CodePromptWindow>(desktop);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName().startsWith(QLatin1String("wayland")),
                 qPrintable(QGuiApplication::platformName()));
    }
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        fake = std::make_unique<FakeDesktop>();
        fake->folder = dir->path();
        makeEmptyDatabase(dir->path());
    }
    void cleanup()
    {
        fake.reset();
        dir.reset();
    }

    void everyWindowReachesTheScreen_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *name : {"main", "help", "about", "picture", "list", "code prompt"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void everyWindowReachesTheScreen()
    {
        QFETCH(QString, window);
        const std::unique_ptr<FormWindow> form = windowNamed(window);
        QVERIFY(form);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QImage drawn = form->grab().toImage().convertToFormat(QImage::Format_RGB32);

        // The compositor places it where it likes, and shows it a frame later.
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        QImage screen;
        std::optional<QPoint> at;
        QTRY_VERIFY_WITH_TIMEOUT(
            (screen = compositorScreenshot(runtime), at = findIn(screen, drawn)).has_value(),
            10000);
        qInfo("placed at %d, %d on a %d x %d screen", at->x(), at->y(), screen.width(),
              screen.height());
        const QImage picture = layoutPicture(form->layout().picture, 1).toImage();
        for (const QPoint corner : {QPoint(2, 2), QPoint(picture.width() - 3, 2)})
            QCOMPARE(screen.pixel(*at + corner), picture.pixel(corner));
    }

    // Where the compositor places windows, each opened from another is a
    // child of the main window that opened the chain.
    void openedWindowsBelongToTheMainWindow()
    {
        MainWindow main(fake->desktop());
        QVERIFY(main.start());
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QtWindowSystem windows;
        AboutWindow about(fake->desktop());
        windows.showWindow(&about, &main);
        CodePromptWindow prompt(fake->desktop());
        windows.showWindow(&prompt, &about);
        QVERIFY(QTest::qWaitForWindowExposed(&prompt));
        QCOMPARE(about.windowHandle()->transientParent(), main.windowHandle());
        QCOMPARE(prompt.windowHandle()->transientParent(), main.windowHandle());
    }
};

QTEST_MAIN(TestCompositorWindows)
#include "tst_compositorwindows.moc"
