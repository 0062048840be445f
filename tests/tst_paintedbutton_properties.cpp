// The button's properties, its stored settings and its window shape.
#include "button/paintedbutton.h"

#include <QSignalSpy>
#include <QTest>

using namespace dialvault;

class TestPaintedButtonProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachSetReportsItsStorageKey();
    void buttonTypeReshapesTheWindow();
    void absentSettingsTakeTheirDefaults();
    void lowerCaseLayoutSettingsAreRead();
    void writeStoresAllEightKeysInOrderAndRoundTrips();
};

void TestPaintedButtonProperties::eachSetReportsItsStorageKey()
{
    PaintedButton button;
    QSignalSpy changed(&button, &PaintedButton::propertyChanged);
    auto font = std::make_shared<FontObject>();
    button.setBackColor(0x123456);
    button.setForeColor(0x654321);
    button.setButtonType(ButtonStyle::BoldFlat);
    button.setCaption(QStringLiteral("A&&B&c"));
    button.setButtonEnabled(false);
    button.setFontObject(font);
    button.setColorScheme(ColourScheme::CustomColors);
    button.setShowFocusRect(false);
    QStringList keys;
    for (const auto &args : changed)
        keys << args.at(0).toString();
    QCOMPARE(keys,
             (QStringList{"BCOL", "FCOL", "BTYPE", "TX", "ENAB", "FONT", "COLTYPE", "FOCUSR"}));

    QCOMPARE(button.accessKey(), QChar(u'c'));
    QVERIFY(!button.isEnabled());
    // The custom scheme builds its palette from the colours set.
    QCOMPARE(button.face().faceColour, Colour(0x123456));
    QCOMPARE(button.face().textColour, Colour(0x654321));
    // The font is the caller's own object, and no null one is taken.
    font->bold = true;
    QVERIFY(button.fontObject()->bold);
    button.setFontObject(nullptr);
    QCOMPARE(button.fontObject(), font);
}

void TestPaintedButtonProperties::buttonTypeReshapesTheWindow()
{
    QWidget window;
    auto *button = new PaintedButton(&window);
    button->setGeometry(0, 0, 80, 24);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(button->face().height, 24);
    QVERIFY(button->mask().isEmpty() || button->mask().contains(QPoint(0, 0)));

    button->setButtonType(ButtonStyle::Gradient);
    QVERIFY(!button->mask().contains(QPoint(1, 0)));
    QVERIFY(!button->mask().contains(QPoint(79, 22)));
    QVERIFY(button->mask().contains(QPoint(1, 1)));

    // Settings read into a button already laid out reshape it too.
    PropertyBag bag;
    bag.write(QStringLiteral("btype"), 2);
    button->readProperties(bag);
    QVERIFY(button->mask().isEmpty() || button->mask().contains(QPoint(1, 0)));

    button->resize(40, 20);
    QTest::qWait(1);
    QCOMPARE(button->face().width, 40);
    QCOMPARE(button->face().focusRect, (Rect{4, 4, 36, 16}));
}

void TestPaintedButtonProperties::absentSettingsTakeTheirDefaults()
{
    PaintedButton button;
    button.setButtonType(ButtonStyle::SoftShadow);
    button.setCaption(QStringLiteral("x"));
    button.setColorScheme(ColourScheme::FixedGrey);
    button.setShowFocusRect(false);
    button.setButtonEnabled(false);
    button.setBackColor(1);
    const FontRef font = button.fontObject();

    button.readProperties(PropertyBag());
    QCOMPARE(button.buttonType(), ButtonStyle::Classic3D);
    QCOMPARE(button.caption(), QString());
    QVERIFY(button.buttonEnabled());
    QVERIFY(button.isEnabled());
    QCOMPARE(button.fontObject(), font);
    QCOMPARE(button.colorScheme(), ColourScheme::SystemColors);
    QVERIFY(button.showFocusRect());
    QCOMPARE(button.backColor(), systemColour(15));
    QCOMPARE(button.foreColor(), systemColour(18));
    QCOMPARE(button.face().faceColour, systemColour(15));
}

void TestPaintedButtonProperties::lowerCaseLayoutSettingsAreRead()
{
    FontObject tahoma;
    tahoma.charset = 178;
    PropertyBag bag;
    bag.write(QStringLiteral("_extentx"), 2566);
    bag.write(QStringLiteral("btype"), 3);
    bag.write(QStringLiteral("tx"), QStringLiteral("جستجو"));
    bag.write(QStringLiteral("enab"), false);
    bag.write(QStringLiteral("font"), QVariant::fromValue(tahoma));
    bag.write(QStringLiteral("coltype"), 3);
    bag.write(QStringLiteral("focusr"), false);
    bag.write(QStringLiteral("bcol"), 14215660);
    bag.write(QStringLiteral("fcol"), 0);

    PaintedButton button;
    QSignalSpy changed(&button, &PaintedButton::propertyChanged);
    button.readProperties(bag);
    QCOMPARE(button.buttonType(), ButtonStyle::Gradient);
    QCOMPARE(button.caption(), QStringLiteral("جستجو"));
    QVERIFY(!button.isEnabled());
    QCOMPARE(*button.fontObject(), tahoma);
    QCOMPARE(button.colorScheme(), ColourScheme::FixedGrey);
    QVERIFY(!button.showFocusRect());
    QCOMPARE(button.backColor(), Colour(0xD8E9EC));
    QCOMPARE(button.foreColor(), Colour(0));
    QCOMPARE(button.face().faceColour, Colour(0xC0C0C0));
    QCOMPARE(changed.count(), 0);
}

void TestPaintedButtonProperties::writeStoresAllEightKeysInOrderAndRoundTrips()
{
    PaintedButton button;
    auto font = std::make_shared<FontObject>();
    font->name = QStringLiteral("MS Sans Serif");
    font->bold = true;
    font->charset = 178;
    button.setFontObject(font);
    button.setButtonType(ButtonStyle::Gradient);
    button.setCaption(QStringLiteral("اضافه کردن "));
    button.setBackColor(0xC0C0C0);

    PropertyBag bag;
    button.writeProperties(bag);
    QCOMPARE(bag.names(),
             (QStringList{"BTYPE", "TX", "ENAB", "FONT", "COLTYPE", "FOCUSR", "BCOL", "FCOL"}));

    PaintedButton copy;
    copy.readProperties(PropertyBag::load(bag.save()));
    QCOMPARE(copy.buttonType(), ButtonStyle::Gradient);
    QCOMPARE(copy.caption(), QStringLiteral("اضافه کردن "));
    QCOMPARE(*copy.fontObject(), *font);
    QVERIFY(copy.fontObject() != font);
    QCOMPARE(copy.backColor(), Colour(0xC0C0C0));
    QCOMPARE(copy.foreColor(), button.foreColor());
    QCOMPARE(copy.colorScheme(), ColourScheme::SystemColors);
    QVERIFY(copy.buttonEnabled() && copy.showFocusRect());
}

QTEST_MAIN(TestPaintedButtonProperties)
#include "tst_paintedbutton_properties.moc"
