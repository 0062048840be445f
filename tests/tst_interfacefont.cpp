// Persian that can be read: at the sizes the windows use, letters that
// differ only by their dots draw differently in every joining form, and no
// window cuts the ink of its texts.
#include "button/paintedbutton.h"
#include "layout/formlabel.h"
#include "layout/layoutparts.h"
#include "main/mainwindow.h"
#include "support/fakedesktop.h"
#include "windows/aboutwindow.h"
#include "windows/codepromptwindow.h"
#include "windows/contactlistwindow.h"
#include "windows/helpwindow.h"
#include "windows/picturewindow.h"
#include "words/interfacelanguage.h"

#include <QLineEdit>
#include <QPainter>
#include <QtTest>

using namespace dialvault;

namespace {

const QChar tatweel(0x0640);

QImage drawn(const QString &text, const QFont &font)
{
    QImage image(80, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(5, 5, 70, 20), Qt::AlignLeft | Qt::AlignTop, text);
    return image;
}

int inkPixels(const QImage &image, QRgb ink)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += (row[x] | 0xFF000000u) == (ink | 0xFF000000u);
    }
    return count;
}

// The first and the last column that hold ink.
std::pair<int, int> inkColumns(const QImage &image, QRgb ink)
{
    int first = image.width();
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] | 0xFF000000u) == (ink | 0xFF000000u)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

// Ink of `widget` at its own size and when given more room; the same count
// means nothing was cut.
std::pair<int, int> inkCutOrNot(QWidget *widget, QRgb ink, QSize room)
{
    const QRect place = widget->geometry();
    const int atSize = inkPixels(widget->grab().toImage(), ink);
    widget->setGeometry(place.adjusted(0, 0, room.width(), room.height()));
    widget->move(place.topLeft());
    QImage roomy = widget->grab().toImage();
    widget->setGeometry(place);
    return {atSize, inkPixels(roomy, ink)};
}

std::unique_ptr<FormWindow> makeWindow(int number, const Desktop &desktop)
{
    switch (number) {
    case 1:
        return std::make_unique<MainWindow>(desktop);
    case 2:
        return std::make_unique<HelpWindow>(desktop);
    case 3:
        return std::make_unique<AboutWindow>(desktop);
    case 4:
        return std::make_unique<PictureWindow>(desktop);
    case 5:
        return std::make_unique<ContactListWindow>(desktop);
    default:
        return std::make_unique<CodePromptWindow>(desktop);
    }
}

} // namespace

class TestInterfaceFont : public QObject
{
    Q_OBJECT

private:
    FakeDesktop fake;
    QTemporaryDir noPhoneBook;

private Q_SLOTS:
    void cleanup() { useLanguage(InterfaceLanguage::Persian); }

    void lettersKeepTheirDots_data()
    {
        QTest::addColumn<QString>("letters");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("joinsOnward");
        const QList<std::pair<QString, bool>> groups{
            {QStringLiteral("ب پ ت ث ن"), true}, {QStringLiteral("ج چ ح خ"), true},
            {QStringLiteral("ر ز ژ"), false},    {QStringLiteral("س ش"), true},
            {QStringLiteral("ص ض"), true},       {QStringLiteral("ط ظ"), true},
            {QStringLiteral("ع غ"), true},       {QStringLiteral("ف ق"), true},
            {QStringLiteral("ک گ"), true}};
        for (const bool bold : {false, true}) {
            for (const auto &[letters, joins] : groups)
                QTest::addRow("%s%s", qPrintable(letters), bold ? " bold" : "")
                    << letters << bold << joins;
        }
    }
    void lettersKeepTheirDots()
    {
        QFETCH(QString, letters);
        QFETCH(bool, bold);
        QFETCH(bool, joinsOnward);
        const QFont font = layoutparts::tahoma(bold).toQFont();
        const QStringList group = letters.split(u' ');
        // Isolated, final, and where the letter joins what follows, initial and medial.
        QList<QString (*)(QChar)> forms{[](QChar c) { return QString(c); },
                                        [](QChar c) { return QString(tatweel) + c; }};
        if (joinsOnward) {
            forms.append([](QChar c) { return QString(c) + tatweel; });
            forms.append([](QChar c) { return QString(tatweel) + c + tatweel; });
        }
        for (const auto form : forms) {
            for (qsizetype i = 0; i < group.size(); ++i) {
                for (qsizetype j = i + 1; j < group.size(); ++j) {
                    const QString a = form(group[i].at(0));
                    const QString b = form(group[j].at(0));
                    QVERIFY2(drawn(a, font) != drawn(b, font),
                             qPrintable(QStringLiteral("%1 and %2 look alike").arg(a, b)));
                }
            }
        }
    }

    void persianZeroBeforeNineShows()
    {
        const QFont font = layoutparts::tahoma().toQFont();
        QVERIFY(drawn(QStringLiteral("۰۹"), font) != drawn(QStringLiteral("۹"), font));
        QVERIFY(drawn(QStringLiteral("۰۹۱۲"), font) != drawn(QStringLiteral("۹۱۲"), font));
    }

    void noWindowCutsTheInkOfItsTexts_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<bool>("english");
        for (const bool english : {false, true}) {
            for (int window = 1; window <= 6; ++window)
                QTest::addRow("Form%d%s", window, english ? " in English" : "")
                    << window << english;
        }
    }
    void noWindowCutsTheInkOfItsTexts()
    {
        QFETCH(int, window);
        QFETCH(bool, english);
        QVERIFY(useLanguage(english ? InterfaceLanguage::English : InterfaceLanguage::Persian));
        fake.folder = noPhoneBook.path();
        const std::unique_ptr<FormWindow> form = makeWindow(window, fake.desktop());
        // Tall and deep letters and digits in every text box (which scrolls
        // what is wider than itself, so only its height counts), and the one
        // message a window writes into a label.
        const QString sample = QStringLiteral("گچپژ ۰۹۱۲ Ägy");
        if (auto *prompt = qobject_cast<CodePromptWindow *>(form.get())) {
            prompt->controls().codeBox->setText(QStringLiteral("0"));
            QTest::mouseClick(prompt->controls().confirmButton, Qt::LeftButton, {}, QPoint(10, 10));
            QVERIFY(!prompt->controls().messageLabel->text().isEmpty());
        }
        for (QLineEdit *box : form->findChildren<QLineEdit *>()) {
            box->setEchoMode(QLineEdit::Normal);
            box->setText(sample);
            QPalette colours = box->palette();
            colours.setColor(QPalette::Text, QColor(0xFF00FF));
            box->setPalette(colours);
            const auto [atSize, roomy] = inkCutOrNot(box, 0xFF00FF, QSize(0, 40));
            QVERIFY2(atSize > 0 && atSize == roomy, qPrintable(box->objectName()));
        }
        for (FormLabel *label : form->findChildren<FormLabel *>()) {
            const QRgb ink = label->palette().color(QPalette::WindowText).rgb();
            const auto [atSize, roomy] = inkCutOrNot(label, ink, QSize(40, 40));
            QVERIFY2(atSize > 0 && atSize == roomy, qPrintable(label->objectName()));
            // A label that takes the width of its text still ends inside the window.
            const auto [first, last] = inkColumns(label->grab().toImage(), ink);
            QVERIFY2(label->x() + first >= 0 && label->x() + last < form->width(),
                     qPrintable(label->objectName()));
        }
        for (PaintedButton *button : form->findChildren<PaintedButton *>()) {
            const QRgb ink = toQRgb(button->face().textColour);
            const auto [atSize, roomy] = inkCutOrNot(button, ink, QSize(40, 40));
            QVERIFY2(atSize > 0 && atSize == roomy, qPrintable(button->objectName()));
        }
    }
};

QTEST_MAIN(TestInterfaceFont)
#include "tst_interfacefont.moc"
