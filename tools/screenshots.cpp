// Pictures of every window as it looks after start-up, over a scratch phone
// book with a few entries, for docs/ and the README:
//   QT_QPA_PLATFORM=offscreen build/tools/dialvault-screenshots docs
#include "button/paintedbutton.h"
#include "desktop/qtwindowsystem.h"
#include "desktop/settingsstore.h"
#include "layout/formtextbox.h"
#include "main/mainwindow.h"
#include "store/contactstore.h"
#include "store/databasecreation.h"
#include "windows/aboutwindow.h"
#include "windows/codepromptwindow.h"
#include "windows/contactlistwindow.h"
#include "windows/helpwindow.h"
#include "windows/picturewindow.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

using namespace dialvault;

// A fixed moment, so that the clock line is the same in every picture.
class FixedClock final : public Clock
{
public:
    QDateTime now() override { return QDateTime(QDate(2026, 12, 7), QTime(10, 30, 15)); }
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
    // The real window system over the scratch phone book, with scratch
    // settings: the list's colour is the layout's, whatever a person chose.
    QtWindowSystem windows;
    FixedClock clock;
    SettingsStore settings(QDir(scratch.path()).filePath(QStringLiteral("dialvault.ini")));
    DecidedPhoneBook phoneBook(PhoneBookSource::inFolder(scratch.path()));
    const Desktop desktop{windows, clock, settings, phoneBook};

    MainWindow main(desktop);
    if (!main.start())
        return 1;
    main.controls().nameBox->setText(QStringLiteral("علي رضايي"));
    main.controls().searchButton->accessKeyPress();
    HelpWindow help(desktop);
    AboutWindow about(desktop);
    PictureWindow card(desktop);
    ContactListWindow list(desktop);
    CodePromptWindow prompt(desktop);
    bool saved = save(&main, out);
    for (FormWindow *window :
         std::initializer_list<FormWindow *>{&help, &about, &card, &list, &prompt}) {
        window->show();
        saved = save(window, out) && saved;
    }
    return saved ? 0 : 1;
}
