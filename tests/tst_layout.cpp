// Windows built from their layouts: spot values that would catch a wrong
// unit or a swapped field, the window settings, tab order and first focus.
#include "button/paintedbutton.h"
#include "main/mainwindow.h"
#include "support/fakedesktop.h"
#include "windows/aboutwindow.h"
#include "windows/codepromptwindow.h"
#include "windows/contactlistwindow.h"
#include "windows/helpwindow.h"
#include "windows/picturewindow.h"

#include <QApplication>
#include <QtTest>

#include <memory>

using namespace dialvault;

class TestLayout : public QObject
{
    Q_OBJECT

private:
    FakeDesktop fake;
    QTemporaryDir noPhoneBook;

    // The window whose layout is named `name`, as the program builds it.
    std::unique_ptr<FormWindow> windowNamed(const QString &name)
    {
        fake.folder = noPhoneBook.path();
        const Desktop desktop = fake.desktop();
        if (name == QLatin1String("Form1"))
            return std::make_unique<MainWindow>(desktop);
        if (name == QLatin1String("Form2"))
            return std::make_unique<HelpWindow>(desktop);
        if (name == QLatin1String("Form3"))
            return std::make_unique<AboutWindow>(desktop);
        if (name == QLatin1String("Form4"))
            return std::make_unique<PictureWindow>(desktop);
        if (name == QLatin1String("Form5"))
            return std::make_unique<ContactListWindow>(desktop);
        return std::make_unique<CodePromptWindow>(desktop);
    }

private Q_SLOTS:
    void windowSettings_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("firstFocus");
        QTest::newRow("main") << "Form1" << QSize(413, 239) << "Dialvault"
                              << "Text1";
        QTest::newRow("help") << "Form2" << QSize(315, 382) << "راهنما"
                              << "paintedButton1";
        QTest::newRow("about") << "Form3" << QSize(385, 376) << " معرفي نرم افزار"
                               << "Picture2";
        QTest::newRow("picture") << "Form4" << QSize(272, 164) << "Form4"
                                 << "paintedButton1";
        QTest::newRow("list") << "Form5" << QSize(493, 326) << "ليست مشترك ها"
                              << "paintedButton1";
        QTest::newRow("password") << "Form6" << QSize(224, 109) << "Form6"
                                  << "Text1";
    }
    void windowSettings()
    {
        QFETCH(QString, window);
        QFETCH(QSize, size);
        QFETCH(QString, title);
        QFETCH(QString, firstFocus);
        const std::unique_ptr<FormWindow> form = windowNamed(window);
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form->size(), size);
        QCOMPARE(form->minimumSize(), size);
        QCOMPARE(form->maximumSize(), size);
        QCOMPARE(form->windowTitle(), title);
        QCOMPARE(form->objectName(), window);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(QApplication::focusWidget(), form->findChild<QWidget *>(firstFocus));
    }

    void controlsAtTheirPlaces_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("pixels");
        // Twips at 15 a pixel: 2040, 960, 2655, 285 is 136, 64, 177, 19.
        QTest::newRow("main name box") << "Form1"
                                       << "Text1" << QRect(136, 64, 177, 19);
        QTest::newRow("main exit") << "Form1"
                                   << "paintedButton6" << QRect(32, 192, 93, 25);
        QTest::newRow("main count label") << "Form1"
                                          << "Label6" << QRect(240, 136, 145, 17);
        QTest::newRow("password confirm") << "Form6"
                                          << "paintedButton1" << QRect(112, 64, 65, 25);
        QTest::newRow("about bullet") << "Form3"
                                      << "Picture1" << QRect(352, 168, 9, 17);
        QTest::newRow("list held colour") << "Form5"
                                          << "Text1" << QRect(336, 24, 89, 19);
    }
    void controlsAtTheirPlaces()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QRect, pixels);
        const std::unique_ptr<FormWindow> form = windowNamed(window);
        QCOMPARE(form->findChild<QWidget *>(control)->geometry(), pixels);
    }

    void labelsThatFitTheirTextKeepTheirPlace()
    {
        HelpWindow help(fake.desktop());
        auto *label = help.findChild<QWidget *>(QStringLiteral("Label3"));
        QCOMPARE(label->pos(), QPoint(192, 168));
        const QFontMetrics metrics(label->font());
        QCOMPARE(label->height(), metrics.height());
        QVERIFY(label->width() > 0 && label->width() < 120);
    }

    void buttonsReadTheirStoredSettings_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("scheme");
        QTest::addColumn<quint32>("back");
        QTest::addColumn<bool>("isDefault");
        QTest::addColumn<bool>("isCancel");
        QTest::newRow("main search") << "Form1"
                                     << "paintedButton1"
                                     << "جستجو" << 3 << 1 << quint32(0xC0C0C0) << true << false;
        QTest::newRow("main exit") << "Form1"
                                   << "paintedButton6"
                                   << "خروج" << 3 << 1 << quint32(0xC0C0C0) << false << true;
        QTest::newRow("help exit") << "Form2"
                                   << "paintedButton1"
                                   << "خروج" << 3 << 3 << quint32(0xC0C0C0) << false << true;
        QTest::newRow("about programmer")
            << "Form3"
            << "paintedButton2"
            << "برنامه نويس" << 2 << 1 << quint32(0xD8E9EC) << false << false;
        QTest::newRow("password confirm")
            << "Form6"
            << "paintedButton1"
            << "تائيد" << 3 << 1 << quint32(0xD8E9EC) << true << false;
        QTest::newRow("password exit") << "Form6"
                                       << "paintedButton2"
                                       << "خروج" << 3 << 1 << quint32(0xD8E9EC) << false << false;
    }
    void buttonsReadTheirStoredSettings()
    {
        QFETCH(QString, window);
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(int, type);
        QFETCH(int, scheme);
        QFETCH(quint32, back);
        QFETCH(bool, isDefault);
        QFETCH(bool, isCancel);
        const std::unique_ptr<FormWindow> form = windowNamed(window);
        auto *b = form->findChild<PaintedButton *>(button);
        QVERIFY(b);
        QCOMPARE(b->caption(), caption);
        QCOMPARE(int(b->buttonType()), type);
        QCOMPARE(int(b->colorScheme()), scheme);
        QCOMPARE(quint32(b->backColor()), back);
        QCOMPARE(b->fontObject()->name, QStringLiteral("Tahoma"));
        QCOMPARE(b->fontObject()->charset, 178);
        QCOMPARE(b->isDefault(), isDefault);
        QCOMPARE(b->isCancel(), isCancel);
    }

    void tabCyclesInLayoutOrder_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("help") << "Form2"
                              << QStringList{"paintedButton1", "Picture1", "Picture3", "Picture2",
                                             "paintedButton1"};
        QTest::newRow("about") << "Form3"
                               << QStringList{"Picture2", "Picture1", "paintedButton1",
                                              "paintedButton2", "Picture2"};
        QTest::newRow("password") << "Form6"
                                  << QStringList{"Text1", "paintedButton1", "paintedButton2",
                                                 "Text1"};
    }
    void tabCyclesInLayoutOrder()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, order);
        const std::unique_ptr<FormWindow> form = windowNamed(window);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        for (const QString &name : order) {
            QCOMPARE(QApplication::focusWidget(), form->findChild<QWidget *>(name));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
