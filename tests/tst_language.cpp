// The interface's language: the windows speak Persian unless English is
// chosen, whatever the system's language, and chosen, every text of a window
// is English while the layouts stay as they are.
#include "button/paintedbutton.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "main/mainwindow.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "windows/helpwindow.h"
#include "words/interfacelanguage.h"

#include <QtTest>

using namespace dialvault;

class TestLanguage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeDesktop> fake;
    std::unique_ptr<QTemporaryDir> dir;

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
        useLanguage(InterfaceLanguage::Persian);
        fake.reset();
    }

    void windowsAreChosenPersianOrEnglish_data()
    {
        QTest::addColumn<QString>("option"); // --language; empty when not given
        QTest::addColumn<QString>("setting"); // what the settings hold; empty when nothing
        QTest::addColumn<bool>("english");
        const bool english = true;
        const bool persian = false;
        QTest::newRow("nothing chosen on an English system") << ""
                                                             << "" << persian;
        QTest::newRow("the setting") << ""
                                     << "en" << english;
        QTest::newRow("the setting, Persian") << ""
                                              << "fa" << persian;
        QTest::newRow("a setting of no language") << ""
                                                  << "de" << persian;
        QTest::newRow("the option over the setting") << "en"
                                                     << "fa" << english;
        QTest::newRow("Persian by the option over the setting") << "fa"
                                                                << "en" << persian;
    }
    void windowsAreChosenPersianOrEnglish()
    {
        QFETCH(QString, option);
        QFETCH(QString, setting);
        QFETCH(bool, english);
        // The test runs on a system in English, as the command line sees.
        QCOMPARE(usersLanguage(), InterfaceLanguage::English);
        if (!setting.isEmpty())
            QVERIFY(fake->settings.write(languageSettingName, setting));
        QCOMPARE(windowsLanguage(languageOfCode(option), fake->settings.read(languageSettingName)),
                 english ? InterfaceLanguage::English : InterfaceLanguage::Persian);
    }

    void mainWindowInEnglish()
    {
        QVERIFY(useLanguage(InterfaceLanguage::English));
        QCOMPARE(languageInUse(), InterfaceLanguage::English);
        MainWindow window(fake->desktop());
        QVERIFY(window.start());
        const MainWindowControls &c = window.controls();
        QCOMPARE(c.searchButton->caption(), QStringLiteral("Search"));
        QCOMPARE(c.searchButton->toolTip(), QStringLiteral("Find the phone and note of the name"));
        QCOMPARE(c.phoneLabel->text(), QStringLiteral("Phone:"));
        // A screen reader names each box by its label, without the colon.
        QCOMPARE(c.nameBox->accessibleName(), QStringLiteral("Name"));
        QCOMPARE(window.accessibleDescription(), QStringLiteral("Phone book"));
        // The layout itself is unchanged.
        QCOMPARE(c.searchButton->geometry(), QRect(32, 24, 93, 25));

        QTest::mouseClick(c.searchButton, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(fake->boxes.size(), 1);
        QCOMPARE(fake->boxes[0].text, QStringLiteral("Type a name to search for"));
    }

    void secondaryWindowInEnglishThenPersianAgain()
    {
        QVERIFY(useLanguage(InterfaceLanguage::English));
        {
            HelpWindow help(fake->desktop());
            QCOMPARE(help.windowTitle(), QStringLiteral("Help"));
            QCOMPARE(help.findChild<FormLabel *>(QStringLiteral("Label1"))->text(),
                     QStringLiteral("To search, type the name and click Search"));
            QCOMPARE(help.findChild<PaintedButton *>()->caption(), QStringLiteral("Exit"));
        }
        // The layouts keep the Persian: a window made after the choice
        // changes speaks the language chosen then.
        useLanguage(InterfaceLanguage::Persian);
        QCOMPARE(languageInUse(), InterfaceLanguage::Persian);
        HelpWindow help(fake->desktop());
        QCOMPARE(help.windowTitle(), QStringLiteral("راهنما"));
        QCOMPARE(help.findChild<PaintedButton *>()->caption(), QStringLiteral("خروج"));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
