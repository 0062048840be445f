// The program's start-up over the phone book in a given folder, with the
// day's backup begun as the program begins it (due or not, as the folder's
// backups say). Run by bench/startup/backup.sh.
//   startup_backup FOLDER first-frame   prints as startup_dialvault does
//   startup_backup FOLDER steadiness    runs until the backup is made (or two
//       seconds when none is due) and prints the backup's time and the
//       longest wait of a 10 ms timer meanwhile, in microseconds
#include "desktop/qtwindowsystem.h"
#include "desktop/settingsstore.h"
#include "firstframe.h"
#include "main/dailybackupstart.h"
#include "main/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

using namespace dialvault;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    PhoneBookPlace place;
    place.kind = PlaceKind::Chosen;
    place.folder = QString::fromLocal8Bit(argv[1]);
    QtWindowSystem windows;
    SystemClock systemClock;
    SettingsStore settings;
    DecidedPhoneBook phoneBook(PhoneBookSource::inFolder(place.folder));
    const Desktop desktop{windows, systemClock, settings, phoneBook};
    const bool firstFrame = qstrcmp(argv[2], "first-frame") == 0;

    MainWindow window(desktop);
    FirstFrame frame;
    if (firstFrame)
        window.installEventFilter(&frame);
    if (!window.start())
        return 1;
    DailyBackupStart daily(desktop, place, &window);
    if (firstFrame)
        return app.exec();

    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longestWait = 0;
    qint64 backupStarted = -1;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed() / 1000;
        longestWait = std::max(longestWait, now - last);
        last = now;
        if (backupStarted < 0 && daily.backup().isRunning())
            backupStarted = now;
    });
    const auto report = [&](qint64 backupTime) {
        std::printf("%lld %lld\n", (long long)backupTime, (long long)longestWait);
        std::fflush(stdout);
        std::_Exit(0);
    };
    QObject::connect(&daily.backup(), &BackgroundBackup::made, [&] {
        report(clock.nsecsElapsed() / 1000 - std::max<qint64>(backupStarted, 0));
    });
    QObject::connect(&daily.backup(), &BackgroundBackup::failed, [] { std::_Exit(1); });
    QTimer::singleShot(0, [&] {
        clock.start();
        ticks.start(10);
        // With no backup due, the same window left to itself for as long.
        QTimer::singleShot(2000, [&] { report(0); });
    });
    return app.exec();
}
