// Enter, Esc and access keys of a window reaching its buttons.
#include "button/paintedbutton.h"
#include "layout/dialogkeys.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLineEdit>
#include <QTest>

using namespace dialvault;

class TestDialogKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void enterInATextBoxPressesTheDefaultButton();
    void enterElsewhereIsNotRouted();
    void escPressesTheCancelButtonFromAnywhere();
    void altWithTheAccessKeyPressesThatButton();
    void rightClickBeforeEnterBlocksTheClick();
    void keysOfAnotherWindowAreLeftAlone();

private:
    PaintedButton *addButton(const QString &caption);

    QWidget *window = nullptr;
    QLineEdit *text = nullptr;
    PaintedButton *search = nullptr;
    PaintedButton *other = nullptr;
    PaintedButton *exitButton = nullptr;
    QMap<PaintedButton *, int> clicks;
};

PaintedButton *TestDialogKeys::addButton(const QString &caption)
{
    auto *button = new PaintedButton(window);
    button->setCaption(caption);
    button->setFixedSize(80, 24);
    window->layout()->addWidget(button);
    connect(button, &PaintedButton::Click, this, [this, button] { ++clicks[button]; });
    return button;
}

void TestDialogKeys::init()
{
    clicks.clear();
    window = new QWidget;
    new QVBoxLayout(window);
    text = new QLineEdit(window);
    window->layout()->addWidget(text);
    search = addButton(QStringLiteral("جستجو"));
    other = addButton(QStringLiteral("&Other"));
    exitButton = addButton(QStringLiteral("خروج"));
    DialogKeys::install(window, search, exitButton);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    text->setFocus();
}

void TestDialogKeys::cleanup()
{
    delete window;
}

void TestDialogKeys::enterInATextBoxPressesTheDefaultButton()
{
    QVERIFY(search->isDefault() && exitButton->isCancel());
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(window, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(clicks.value(search), 2);
    QCOMPARE(QApplication::focusWidget(), text);
}

void TestDialogKeys::enterElsewhereIsNotRouted()
{
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    QCOMPARE(clicks.value(search), 0);
    QCOMPARE(clicks.value(other), 0);

    // A disabled default button cannot be pressed.
    text->setFocus();
    search->setButtonEnabled(false);
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(clicks.value(search), 0);
}

void TestDialogKeys::escPressesTheCancelButtonFromAnywhere()
{
    QTest::keyClick(text, Qt::Key_Escape);
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Escape);
    QCOMPARE(clicks.value(exitButton), 2);
    QCOMPARE(clicks.value(other), 0);
}

void TestDialogKeys::altWithTheAccessKeyPressesThatButton()
{
    QTest::keyClick(text, Qt::Key_O, Qt::AltModifier);
    QCOMPARE(clicks.value(other), 1);
    QCOMPARE(text->text(), QString());

    other->setButtonEnabled(false);
    QTest::keyClick(text, Qt::Key_O, Qt::AltModifier);
    QCOMPARE(clicks.value(other), 1);
}

void TestDialogKeys::rightClickBeforeEnterBlocksTheClick()
{
    QTest::mouseClick(search, Qt::RightButton, {}, QPoint(5, 5));
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(clicks.value(search), 0);

    QTest::mouseClick(search, Qt::LeftButton, {}, QPoint(5, 5));
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(clicks.value(search), 2);
}

void TestDialogKeys::keysOfAnotherWindowAreLeftAlone()
{
    QWidget second;
    auto *box = new QLineEdit(&second);
    second.show();
    second.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&second));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Escape);
    QTest::keyClick(box, Qt::Key_O, Qt::AltModifier);
    QVERIFY(clicks.isEmpty());
}

QTEST_MAIN(TestDialogKeys)
#include "tst_dialogkeys.moc"
