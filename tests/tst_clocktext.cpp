// The clock line's text in several locales.
#include "main/clocktext.h"

#include <QtTest>

using namespace dialvault;

class TestClockText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generalDate_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        // 7 December 2026 is 16 Azar 1405 in the Solar Hijri calendar.
        QTest::newRow("Persian: Solar Hijri, Persian digits")
            << "fa_IR" << QStringLiteral("۱۴۰۵/۹/۱۶ ۸:۴۰:۰۵");
        QTest::newRow("US English") << "en_US" << QStringLiteral("12/7/26 8:40:05 AM");
        QTest::newRow("German") << "de_DE" << QStringLiteral("07.12.26 08:40:05");
    }
    void generalDate()
    {
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        const QDateTime when(QDate(2026, 12, 7), QTime(8, 40, 5));
        QCOMPARE(generalDateText(when, QLocale(locale)), expected);
    }

    void noTimeZoneName()
    {
        for (const char *name : {"en_US", "fa_IR", "de_DE", "ar_EG", "ja_JP"}) {
            const QString format = generalDateFormat(QLocale(QString::fromLatin1(name)));
            QVERIFY2(!format.contains(u't'), qPrintable(format));
            QVERIFY2(format == format.simplified(), qPrintable(format));
        }
    }
};

QTEST_GUILESS_MAIN(TestClockText)
#include "tst_clocktext.moc"
