// Pictures of every window as it looks after start-up, over a scratch phone
// book with a few entries, for docs/ and the README:
//   QT_QPA_PLATFORM=offscreen build/tools/dialvault-screenshots docs
#include "button/paintedbutton.h"
#include "layout/qtservices.h"
#include "main/form1.h"
#include "store/contactstore.h"
#include "store/databasecreation.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/form4.h"
#include "windows/form5.h"
#include "windows/form6.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

using namespace dialvault;

// The real window system over the scratch phone book, at a fixed moment so
// that the clock line is the same in every picture.
class ScreenshotServices final : public QtServices
{
public:
    explicit ScreenshotServices(QString folder)
        : folder_(std::move(folder))
    { }
    QString programFolder() override { return folder_; }
    QDateTime now() override { return QDateTime(QDate(2026, 12, 7), QTime(10, 30, 15)); }

private:
    QString folder_;
};

bool fillPhoneBook(const QString &folder)
{
    if (!createDatabaseIfMissing(QDir(folder).filePath(ContactStore::fileName())).value)
        return false;
    const ContactEntry entries[] = {
        {QStringLiteral("علي رضايي"), QStringLiteral("09121234567"),
         QStringLiteral("همکار، دفتر مرکزي"), 1},
        {QStringLiteral("مريم احمدي"), QStringLiteral("021-88776655"), QString(), 2},
        {QStringLiteral("زهرا نيک‌نام"), QStringLiteral("۰۹۱۳ ۱۱۱ ۲۲۳۳"),
         QStringLiteral("کلاس زبان، سه‌شنبه‌ها"), 3},
        {QStringLiteral("Sara Karimi"), QStringLiteral("+98 31 3222 3344"),
         QStringLiteral("همسايه طبقه دوم"), 4},
    };
    ContactStore store(folder);
    for (const ContactEntry &entry : entries) {
        if (!store.open().ok() || !store.appendEntry(entry).ok())
            return false;
    }
    return true;
}

bool save(QWidget *window, const QString &folder)
{
    QCoreApplication::processEvents();
    const QString path
        = QDir(folder).filePath(window->objectName().toLower() + QStringLiteral(".png"));
    return window->grab().save(path);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "usage: dialvault-screenshots FOLDER\n";
        return 2;
    }
    const QString out = app.arguments().at(1);
    QDir().mkpath(out);
    QTemporaryDir scratch;
    if (!scratch.isValid() || !fillPhoneBook(scratch.path())) {
        err << "cannot make a scratch phone book\n";
        return 1;
    }
    ScreenshotServices services(scratch.path());
    setServices(&services);

    Form1 main;
    if (!main.start())
        return 1;
    main.Text1->setText(QStringLiteral("علي رضايي"));
    main.paintedButton1->accessKeyPress();
    Form2 help;
    Form3 about;
    Form4 card;
    Form5 list;
    Form6 prompt;
    bool saved = save(&main, out);
    for (FormWindow *window :
         std::initializer_list<FormWindow *>{&help, &about, &card, &list, &prompt}) {
        window->show();
        saved = save(window, out) && saved;
    }
    setServices(nullptr);
    return saved ? 0 : 1;
}
