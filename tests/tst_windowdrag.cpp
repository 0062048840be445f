// Dragging a borderless window by its surface, driven by real mouse events,
// with the pointer's screen position answered by the test.
#include "button/paintedbutton.h"
#include "support/fakedesktop.h"
#include "windows/helpwindow.h"
#include "windows/picturewindow.h"

#include <QtTest>

using namespace dialvault;

class TestWindowDrag : public QObject
{
    Q_OBJECT

private:
    FakeDesktop fake;

    // The picture window: its only control is the exit button at 192, 128.
    std::unique_ptr<PictureWindow> shownWindow()
    {
        auto window = std::make_unique<PictureWindow>(fake.desktop());
        window->show();
        window->move(300, 200);
        return window;
    }

private Q_SLOTS:
    void pressedPointStaysUnderThePointer_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }
    void pressedPointStaysUnderThePointer()
    {
        QFETCH(Qt::MouseButton, button);
        auto window = shownWindow();
        // Pressed at 150, 300 twips (10, 20 pixels); the pointer at 10, 20 on
        // the screen puts the window's corner at the screen's.
        QTest::mousePress(window.get(), button, {}, QPoint(10, 20));
        fake.cursor = QPoint(10, 20);
        QTest::mouseMove(window.get(), QPoint(11, 21));
        QCOMPARE(window->pos(), QPoint(0, 0));

        fake.cursor = QPoint(500, 400);
        QTest::mouseMove(window.get(), QPoint(12, 22));
        QCOMPARE(window->pos(), QPoint(490, 380));

        QTest::mouseRelease(window.get(), button, {}, QPoint(12, 22));
        fake.cursor = QPoint(100, 100);
        QTest::mouseMove(window.get(), QPoint(13, 23));
        QCOMPARE(window->pos(), QPoint(490, 380));
    }

    void movingWithoutAPressOrOnAControlDoesNothing()
    {
        auto window = shownWindow();
        fake.cursor = QPoint(10, 20);
        QTest::mouseMove(window.get(), QPoint(30, 30));
        QCOMPARE(window->pos(), QPoint(300, 200));

        QWidget *exit = window->controls().exitButton;
        QTest::mousePress(exit, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mouseMove(exit, QPoint(6, 6));
        QCOMPARE(window->pos(), QPoint(300, 200));
        QTest::mouseRelease(exit, Qt::RightButton, {}, QPoint(6, 6));
    }

    // Wayland: the compositor follows the pointer; the window never moves
    // itself, and a control's press is still the control's.
    void whereTheCompositorMovesThePressHandsTheMoveToIt()
    {
        fake.compositorMoves = true;
        auto window = shownWindow();
        QTest::mousePress(window->controls().exitButton, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(window->controls().exitButton, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(fake.systemMoves.isEmpty());

        QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(10, 20));
        QCOMPARE(fake.systemMoves, QList<QPointer<QWidget>>{window.get()});
        fake.cursor = QPoint(500, 400);
        QTest::mouseMove(window.get(), QPoint(12, 22));
        QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(12, 22));
        QCOMPARE(window->pos(), QPoint(300, 200));
        fake.compositorMoves = false;
    }

    void aPressOnALabelNeverDrags()
    {
        HelpWindow help(fake.desktop());
        help.show();
        help.move(100, 100);
        fake.cursor = QPoint(0, 0);
        QWidget *label = help.findChild<QWidget *>(QStringLiteral("Label1"));
        QTest::mousePress(label, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseMove(label, QPoint(3, 3));
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(help.pos(), QPoint(100, 100));
    }
};

QTEST_MAIN(TestWindowDrag)
#include "tst_windowdrag.moc"
