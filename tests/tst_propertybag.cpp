#include "button/propertybag.h"

#include <QTest>

using namespace dialvault;

class TestPropertyBag : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesAreComparedWithCaseIgnored();
    void saveAndLoadKeepEveryValue();
    void unreadableDataGivesAnEmptyBag();
};

void TestPropertyBag::namesAreComparedWithCaseIgnored()
{
    PropertyBag bag;
    QCOMPARE(bag.read(QStringLiteral("TX"), QStringLiteral("none")),
             QVariant(QStringLiteral("none")));
    bag.write(QStringLiteral("tx"), QStringLiteral("a"));
    bag.write(QStringLiteral("BTYPE"), 3);
    bag.write(QStringLiteral("Tx"), QStringLiteral("b"));
    QVERIFY(bag.contains(QStringLiteral("TX")));
    QCOMPARE(bag.read(QStringLiteral("TX"), QString()), QVariant(QStringLiteral("b")));
    QCOMPARE(bag.read(QStringLiteral("btype"), 2), QVariant(3));
    // A rewritten name keeps its first place and spelling.
    QCOMPARE(bag.names(), (QStringList{"tx", "BTYPE"}));
}

void TestPropertyBag::saveAndLoadKeepEveryValue()
{
    FontObject font;
    font.name = QStringLiteral("Tahoma");
    font.size = 8.25;
    font.weight = 700;
    font.bold = font.italic = font.underline = font.strikethrough = true;
    font.charset = 178;

    PropertyBag bag;
    bag.write(QStringLiteral("btype"), qint32(-7));
    bag.write(QStringLiteral("tx"), QStringLiteral("ليست شماره ها"));
    bag.write(QStringLiteral("enab"), false);
    bag.write(QStringLiteral("font"), QVariant::fromValue(font));
    bag.write(QStringLiteral("bcol"), quint32(0x8000000F));
    bag.write(QStringLiteral("empty"), QVariant());

    const PropertyBag loaded = PropertyBag::load(bag.save());
    QCOMPARE(loaded.names(), bag.names());
    for (const QString &name : bag.names())
        QCOMPARE(loaded.read(name, QStringLiteral("absent")), bag.read(name, QVariant()));
    QCOMPARE(loaded.read(QStringLiteral("FONT"), QVariant()).value<FontObject>(), font);
}

void TestPropertyBag::unreadableDataGivesAnEmptyBag()
{
    PropertyBag bag;
    bag.write(QStringLiteral("tx"), QStringLiteral("long enough to cut"));
    const QByteArray saved = bag.save();
    QVERIFY(PropertyBag::load(saved.left(saved.size() - 4)).names().isEmpty());
    QVERIFY(PropertyBag::load(QByteArrayLiteral("not a bag")).names().isEmpty());
}

QTEST_MAIN(TestPropertyBag)
#include "tst_propertybag.moc"
