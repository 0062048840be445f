// The words a person reads for each cause of a failure: every cause has its
// own, and none borrows another's (a full disk must never explain a bad value).
#include "desktop/failurewords.h"

#include <QtTest>

using namespace dialvault;

class TestFailureWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachCauseSaysItsOwnThing_data()
    {
        QTest::addColumn<FailureCause>("cause");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("not found") << FailureCause::NotFound << QStringLiteral("نيست");
        QTest::newRow("busy") << FailureCause::BusyOrLocked << QStringLiteral("برنامه ديگري");
        QTest::newRow("read-only") << FailureCause::ReadOnly << QStringLiteral("فقط خواندني");
        QTest::newRow("disk full") << FailureCause::DiskFull << QStringLiteral("ديسک");
        QTest::newRow("cannot open") << FailureCause::CannotOpen << QStringLiteral("پيدا نشد");
        QTest::newRow("not a database")
            << FailureCause::NotADatabase << QStringLiteral("دفترچه تلفن نيست");
        QTest::newRow("damaged") << FailureCause::Damaged << QStringLiteral("آسيب");
        QTest::newRow("no table") << FailureCause::NoTable << QStringLiteral("(test)");
        QTest::newRow("missing field") << FailureCause::MissingField << QStringLiteral("ستون");
        QTest::newRow("other") << FailureCause::Other << QStringLiteral("پيش بيني نشده");
    }
    void eachCauseSaysItsOwnThing()
    {
        QFETCH(FailureCause, cause);
        QFETCH(QString, fragment);
        const QString words = causeWords(cause);
        QVERIFY2(words.contains(fragment), qPrintable(words));
        for (int other = int(FailureCause::NotFound); other <= int(FailureCause::Other); ++other) {
            if (FailureCause(other) != cause)
                QVERIFY(causeWords(FailureCause(other)) != words);
        }
    }

    void messageReadsHeadlineCausePathThenEngine()
    {
        const StoreError error{14, QStringLiteral("unable to open database file"),
                               FailureCause::CannotOpen};
        QCOMPARE(failureText(QStringLiteral("باز نشد."), error, QStringLiteral("/a/db1.mdb")),
                 QStringLiteral("باز نشد.\n") + causeWords(FailureCause::CannotOpen)
                     + QStringLiteral("\nپرونده: /a/db1.mdb\n\n(خطاي شماره 14: unable to open "
                                      "database file)"));
        QVERIFY(causeWords(FailureCause::None).isEmpty());
    }
};

QTEST_MAIN(TestFailureWords)
#include "tst_failurewords.moc"
