// The button's input state machine, driven by real mouse and key events.
#include "button/paintedbutton.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>

using namespace dialvault;

namespace {

// Every event the button raises, as text, in the order raised.
struct Recorder
{
    QStringList events;
    int clicks = 0;

    explicit Recorder(PaintedButton *button)
    {
        auto mouse = [this](const char *name) {
            return [this, name](short &b, short &s, float &x, float &y) {
                events << QStringLiteral("%1 %2 %3 %4 %5").arg(name).arg(b).arg(s).arg(x).arg(y);
            };
        };
        QObject::connect(button, &PaintedButton::MouseDown, button, mouse("MouseDown"));
        QObject::connect(button, &PaintedButton::MouseMove, button, mouse("MouseMove"));
        QObject::connect(button, &PaintedButton::MouseUp, button, mouse("MouseUp"));
        auto key = [this](const char *name) {
            return [this, name](short &k, short &s) {
                events << QStringLiteral("%1 %2 %3").arg(name).arg(k).arg(s);
            };
        };
        QObject::connect(button, &PaintedButton::KeyDown, button, key("KeyDown"));
        QObject::connect(button, &PaintedButton::KeyUp, button, key("KeyUp"));
        QObject::connect(button, &PaintedButton::KeyPress, button,
                         [this](short &a) { events << QStringLiteral("KeyPress %1").arg(a); });
        QObject::connect(button, &PaintedButton::Click, button, [this] {
            events << QStringLiteral("Click");
            ++clicks;
        });
    }
    QStringList take() { return std::exchange(events, {}); }
};

} // namespace

class TestPaintedButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void leftClickPressesThenClicksOnRelease();
    void rightAndMiddleButtonsNeverClick();
    void dragOutAndBackSwitchesLookAndReleaseOutsideDoesNotClick();
    void doubleClickGivesOneClickAndASecondPress();
    void spaceClicksUnlessAnotherKeyCameBetween();
    void heldSpaceRepeatsThePressAndClicksOnce();
    void arrowsMoveFocusAfterKeyDownReachedTheHost();
    void keyDownHandlerChangesWhatTheButtonDoes();
    void disabledButtonGetsNoInputAndIsDrawnReleasedWhenEnabled_data();
    void disabledButtonGetsNoInputAndIsDrawnReleasedWhenEnabled();
    void releasedLookIsOnScreenBeforeClick();
    void focusAndDefaultFlagFollowTheFocus();

private:
    QWidget *window = nullptr;
    QLineEdit *before = nullptr;
    PaintedButton *button = nullptr;
    PaintedButton *other = nullptr;
    QLineEdit *after = nullptr;
};

void TestPaintedButton::init()
{
    window = new QWidget;
    auto *layout = new QVBoxLayout(window);
    before = new QLineEdit(window);
    button = new PaintedButton(window);
    other = new PaintedButton(window);
    after = new QLineEdit(window);
    for (PaintedButton *b : {button, other}) {
        b->setButtonType(ButtonStyle::DoubleBevel);
        b->setFixedSize(80, 24);
    }
    button->setCaption(QStringLiteral("&Save"));
    for (QWidget *w : std::initializer_list<QWidget *>{before, button, other, after})
        layout->addWidget(w);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    button->setFocus();
    QCOMPARE(QApplication::focusWidget(), button);
}

void TestPaintedButton::cleanup()
{
    delete window;
}

void TestPaintedButton::leftClickPressesThenClicksOnRelease()
{
    Recorder rec(button);
    QTest::mousePress(button, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 5));
    QCOMPARE(button->face().lastState, Look::Down);
    QCOMPARE(rec.take(), QStringList{"MouseDown 1 1 10 5"});
    QTest::mouseRelease(button, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier,
                        QPoint(11, 6));
    QCOMPARE(button->face().lastState, Look::Up);
    QCOMPARE(rec.take(), (QStringList{"MouseUp 1 6 11 6", "Click"}));
}

void TestPaintedButton::rightAndMiddleButtonsNeverClick()
{
    Recorder rec(button);
    QTest::mousePress(button, Qt::MiddleButton, {}, QPoint(10, 5));
    QCOMPARE(button->face().lastState, Look::Down);
    QTest::mouseRelease(button, Qt::MiddleButton, {}, QPoint(10, 5));
    QCOMPARE(button->face().lastState, Look::Up);
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(10, 5));
    QCOMPARE(button->face().lastState, Look::Up);
    QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(10, 5));
    // The right button's mark keeps an access-key press from clicking too.
    button->accessKeyPress();
    QCOMPARE(rec.take(),
             (QStringList{"MouseDown 4 0 10 5", "MouseUp 4 0 10 5", "MouseDown 2 0 10 5",
                          "MouseUp 2 0 10 5"}));

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 5));
    button->accessKeyPress();
    QCOMPARE(rec.clicks, 2);
}

void TestPaintedButton::dragOutAndBackSwitchesLookAndReleaseOutsideDoesNotClick()
{
    // Through the window system, whose grab sends the moves outside to the button.
    QWindow *handle = window->windowHandle();
    auto at = [this](int x, int y) { return button->mapTo(window, QPoint(x, y)); };
    Recorder rec(button);
    QTest::mousePress(handle, Qt::LeftButton, {}, at(10, 5));
    QTest::mouseMove(handle, at(81, 5));
    QCOMPARE(button->face().lastState, Look::Up);
    // The right and bottom edges themselves still count as inside.
    QTest::mouseMove(handle, at(80, 24));
    QCOMPARE(button->face().lastState, Look::Down);
    QTest::mouseMove(handle, at(-1, 5));
    QCOMPARE(button->face().lastState, Look::Up);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, at(-1, 5));
    QCOMPARE(rec.events.filter(QRegularExpression(QStringLiteral("^(?!MouseMove 0 )"))),
             (QStringList{"MouseDown 1 0 10 5", "MouseMove 1 0 81 5", "MouseMove 1 0 80 24",
                          "MouseMove 1 0 -1 5", "MouseUp 1 0 -1 5"}));
}

void TestPaintedButton::doubleClickGivesOneClickAndASecondPress()
{
    Recorder rec(button);
    // Through the window system, which turns the second press into the double click.
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                       button->mapTo(window, QPoint(10, 5)));
    // The pointer's arrival may add a move of its own.
    const QStringList events
        = rec.events.filter(QRegularExpression(QStringLiteral("^(?!MouseMove 0 )")));
    QCOMPARE(events,
             (QStringList{"MouseDown 1 0 10 5", "MouseUp 1 0 10 5", "Click", "MouseDown 1 1 1 1",
                          "MouseUp 1 0 10 5"}));
}

void TestPaintedButton::spaceClicksUnlessAnotherKeyCameBetween()
{
    Recorder rec(button);
    QTest::keyPress(button, Qt::Key_Space);
    QCOMPARE(button->face().lastState, Look::Down);
    QTest::keyRelease(button, Qt::Key_Space);
    QCOMPARE(rec.take(),
             (QStringList{"KeyDown 32 0", "MouseDown 1 1 1 1", "KeyPress 32", "KeyUp 32 0",
                          "MouseUp 1 1 1 1", "Click"}));

    QTest::keyPress(button, Qt::Key_Space);
    QTest::keyPress(button, Qt::Key_A);
    QTest::keyRelease(button, Qt::Key_Space);
    QCOMPARE(rec.clicks, 1);
    QCOMPARE(button->lastKeyCode(), quint8(65));
    QCOMPARE(button->face().lastState, Look::Down);
}

void TestPaintedButton::heldSpaceRepeatsThePressAndClicksOnce()
{
    Recorder rec(button);
    QTest::keyPress(button, Qt::Key_Space);
    // A held key arrives as repeated presses, with repeat releases between them.
    for (int i = 0; i < 2; ++i) {
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::sendEvent(button, &up);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::sendEvent(button, &down);
    }
    QTest::keyRelease(button, Qt::Key_Space);
    QCOMPARE(rec.events.count(QStringLiteral("MouseDown 1 1 1 1")), 3);
    QCOMPARE(rec.events.count(QStringLiteral("KeyUp 32 0")), 1);
    QCOMPARE(rec.clicks, 1);
}

void TestPaintedButton::arrowsMoveFocusAfterKeyDownReachedTheHost()
{
    QList<QWidget *> focusAtKeyDown;
    connect(button, &PaintedButton::KeyDown, this,
            [&](short &, short &) { focusAtKeyDown << QApplication::focusWidget(); });
    const QList<QPair<Qt::Key, QWidget *>> moves{{Qt::Key_Right, other},
                                                 {Qt::Key_Down, other},
                                                 {Qt::Key_Left, before},
                                                 {Qt::Key_Up, before}};
    for (const auto &[key, target] : moves) {
        button->setFocus();
        QTest::keyClick(button, key);
        QCOMPARE(QApplication::focusWidget(), target);
    }
    QCOMPARE(focusAtKeyDown, QList<QWidget *>(4, button));
}

void TestPaintedButton::keyDownHandlerChangesWhatTheButtonDoes()
{
    Recorder rec(button);
    connect(button, &PaintedButton::KeyDown, this, [](short &k, short &) {
        if (k == 65)
            k = 32;
        else if (k == 39)
            k = 0;
    });
    QTest::keyPress(button, Qt::Key_A);
    QCOMPARE(button->lastKeyCode(), quint8(32));
    QCOMPARE(button->face().lastState, Look::Down);
    QVERIFY(rec.events.contains(QStringLiteral("MouseDown 1 1 1 1")));

    QTest::keyClick(button, Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), button);
}

enum class DisabledBy { EnabledProperty, Widget, Window };

void TestPaintedButton::disabledButtonGetsNoInputAndIsDrawnReleasedWhenEnabled_data()
{
    QTest::addColumn<DisabledBy>("disabledBy");
    QTest::addRow("Enabled property") << DisabledBy::EnabledProperty;
    // The widget's own state and its window's are the same setting, drawn alike.
    QTest::addRow("the widget") << DisabledBy::Widget;
    QTest::addRow("its window") << DisabledBy::Window;
}

void TestPaintedButton::disabledButtonGetsNoInputAndIsDrawnReleasedWhenEnabled()
{
    QFETCH(DisabledBy, disabledBy);
    const auto setEnabled = [&](bool enabled) {
        switch (disabledBy) {
        case DisabledBy::EnabledProperty:
            button->setButtonEnabled(enabled);
            break;
        case DisabledBy::Widget:
            button->QWidget::setEnabled(enabled);
            break;
        case DisabledBy::Window:
            window->setEnabled(enabled);
            break;
        }
    };

    // Disabling hands the focus on, so the looks are compared unfocused.
    before->setFocus();
    const QImage released = button->face().image();
    button->setButtonEnabled(false);
    const QImage disabled = button->face().image();
    QVERIFY(disabled != released);
    button->setButtonEnabled(true);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 5));
    setEnabled(false);
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->face().image(), disabled);
    // A disabled window leaves the button's own setting as it was.
    QCOMPARE(button->buttonEnabled(), disabledBy == DisabledBy::Window);

    Recorder rec(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::keyClick(button, Qt::Key_Space);
    button->accessKeyPress();
    QCOMPARE(rec.events, QStringList());

    setEnabled(true);
    QVERIFY(button->buttonEnabled());
    QCOMPARE(button->face().lastState, Look::Up);
    QCOMPARE(button->face().image(), released);
}

void TestPaintedButton::releasedLookIsOnScreenBeforeClick()
{
    // Paints of the button, each noted with the look it showed.
    struct PaintWatch : QObject
    {
        PaintedButton *button;
        QList<Look> painted;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                painted << button->face().lastState;
            return false;
        }
    } watch;
    watch.button = button;
    button->installEventFilter(&watch);

    QList<Look> paintedAtClick;
    connect(button, &PaintedButton::Click, this, [&] { paintedAtClick = watch.painted; });
    for (bool byKey : {false, true}) {
        QTest::qWait(20);
        paintedAtClick.clear();
        if (byKey)
            QTest::keyPress(button, Qt::Key_Space);
        else
            QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 5));
        watch.painted.clear();
        if (byKey)
            QTest::keyRelease(button, Qt::Key_Space);
        else
            QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 5));
        QVERIFY(!paintedAtClick.isEmpty());
        QCOMPARE(paintedAtClick.last(), Look::Up);
    }
}

void TestPaintedButton::focusAndDefaultFlagFollowTheFocus()
{
    QVERIFY(button->face().hasFocus);
    const QImage focused = button->face().image();
    before->setFocus();
    QVERIFY(!button->face().hasFocus);
    QVERIFY(button->face().image() != focused);

    button->setDefault(true);
    QVERIFY(button->face().defaultFlag);
    other->setFocus();
    QVERIFY(!button->face().defaultFlag);
    after->setFocus();
    QVERIFY(button->face().defaultFlag);
    button->setFocus();
    QVERIFY(button->face().defaultFlag);
    QVERIFY(!other->face().defaultFlag);
}

QTEST_MAIN(TestPaintedButton)
#include "tst_paintedbutton.moc"
