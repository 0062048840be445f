// The program's start-up, as main.cpp does it, up to the main window's first
// painted frame. Run by bench/startup/compare.sh beside startup_minimal.
#include "desktop/qtwindowsystem.h"
#include "desktop/settingsstore.h"
#include "firstframe.h"
#include "main/mainwindow.h"

#include <QApplication>

using namespace dialvault;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The phone book beside the program and the user's own settings, as a
    // portable copy has them.
    QtWindowSystem windows;
    SystemClock clock;
    SettingsStore settings;
    DecidedPhoneBook phoneBook(PhoneBookSource::inFolder(QCoreApplication::applicationDirPath()));
    MainWindow window({windows, clock, settings, phoneBook});
    FirstFrame frame;
    window.installEventFilter(&frame);
    if (!window.start())
        return 1;
    return app.exec();
}
