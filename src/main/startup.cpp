#include "main/startup.h"

#include "desktop/displaycheck.h"
#include "desktop/failurewords.h"
#include "desktop/qtwindowsystem.h"
#include "desktop/settingsstore.h"
#include "desktop/syncrunner.h"
#include "desktop/unhandledfailure.h"
#include "jet/carryover.h"
#include "jet/carryovermessage.h"
#include "main/dailybackupstart.h"
#include "main/mainwindow.h"
#include "main/mainwindowtexts.h"
#include "main/openedfiles.h"
#include "main/runningcopy.h"
#include "main/startupsync.h"
#include "place/phonebookplace.h"
#include "place/serverchoice.h"

#include <QApplication>
#include <QStandardPaths>

#include <cstdio>
#include <memory>
#include <optional>

namespace dialvault {

namespace {

// What happens before the windows, each step only when the one before it
// succeeded.
struct BeforeWindows
{
    QString server; // empty: the local file
    Result<PhoneBookPlace> place;
    PhoneBookSource phoneBook;
    std::unique_ptr<RunningCopy> copy;
    bool handedOver = false; // the copy running on this phone book took over
    Status prepared;
    Result<CarryOver> carried;
};

// The copy already running on the phone book, if any, takes this start's
// files and comes forward; nothing else is done for this start then.
void checkRunningCopy(BeforeWindows &before, const QStringList &files)
{
    before.phoneBook = before.server.isEmpty()
        ? PhoneBookSource::inFolder(before.place.value.folder)
        : PhoneBookSource::server(before.server);
    before.copy = std::make_unique<RunningCopy>(
        before.phoneBook, QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    before.handedOver = before.copy->handOver(files);
}

// Reading an old Jet file forks a child process, which is only safe while the
// program has one thread: before the window system's application exists. The
// engine is chosen first: with a server the local folder keeps only the
// settings, so it is neither prepared nor carried over, and a portable folder
// that cannot be written does not matter. Otherwise the place is decided, so
// the carry-over works where the phone book lives. A copy already running on
// the phone book is asked as soon as the phone book is known.
BeforeWindows prepareBeforeWindows(int &argc, char **argv, const QString &dataFolder,
                                   const QString &serverOption,
                                   std::optional<InterfaceLanguage> language,
                                   const QStringList &files)
{
    QCoreApplication probe(argc, argv);
    // The settings that may choose a language are found only by deciding
    // the place, so a place refused is told in the language chosen here.
    useLanguage(windowsLanguage(language, {}));
    BeforeWindows before;
    before.server = chosenServer(serverOption, dataFolder);
    if (!before.server.isEmpty()) {
        PlaceFacts facts = placeFacts(dataFolder);
        facts.canWriteIn = [](const QString &) { return true; };
        before.place = decidePlace(facts);
        if (before.place.ok())
            checkRunningCopy(before, files);
        return before;
    }
    before.place = decidePlace(placeFacts(dataFolder));
    if (!before.place.ok())
        return before;
    checkRunningCopy(before, files);
    if (before.handedOver)
        return before;
    before.prepared = preparePlace(before.place.value);
    // A folder named for a first use gets its phone book as the commands
    // that add entries give it: the main window adds them.
    if (before.prepared.ok())
        before.prepared = makePhoneBookInEmptyFolder(before.place.value);
    if (before.prepared.ok())
        before.carried = carryOverJetPhoneBook(before.place.value.folder);
    return before;
}

} // namespace

int runWindows(int &argc, char **argv, const QString &dataFolder, const QStringList &files,
               const QString &server, std::optional<InterfaceLanguage> language)
{
    if (!hasDisplay()) {
        // Said on the terminal, so in the command line's language.
        QCoreApplication terminal(argc, argv);
        useLanguage(language.value_or(usersLanguage()));
        std::fputs(qPrintable(missingDisplayText(QString::fromLocal8Bit(argv[0])) + u'\n'), stderr);
        return 1;
    }
    const BeforeWindows before
        = prepareBeforeWindows(argc, argv, dataFolder, server, language, files);
    if (before.handedOver)
        return 0;

    QApplication app(argc, argv);
    // Lets the desktop match the windows with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(DIALVAULT_APP_ID));
    useLanguage(windowsLanguage(
        language,
        before.place.ok() ? SettingsStore(before.place.value.settingsFile).read(languageSettingName)
                          : QString()));
    QtWindowSystem windows;
    if (!before.place.ok()) {
        std::fputs(qPrintable(before.place.error.description + u'\n'), stderr);
        reportUnhandledFailure(windows, before.place.error.description);
        return 1;
    }
    const PhoneBookPlace &place = before.place.value;
    const Status failed = !before.prepared.ok() ? before.prepared : before.carried;
    if (!failed.ok()) {
        reportUnhandledFailure(
            windows,
            failureText(mainwindowtexts::startupFailed(), failed.error, place.databasePath()));
        return 1;
    }
    SystemClock clock;
    SettingsStore settings(place.settingsFile);
    DecidedPhoneBook phoneBook(before.phoneBook);
    SystemPasswords passwords;
    SyncRunner sync(settings, phoneBook, passwords);
    const Desktop desktop{windows, clock, settings, phoneBook, &sync};
    MainWindow window(desktop);
    // Another start on this phone book brings this window forward with the
    // files named to it.
    before.copy->listen(&window, [&windows, &window](const QStringList &opened) {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        windows.showWindow(&window, nullptr);
        importFilesGivenAtStart(windows, window, opened);
    });
    if (!window.start())
        return 1;
    if (before.carried.value.converted)
        desktop.windows.messageBox(carriedOverMessage(before.carried.value), MsgOkInformation);
    // A server is backed up with the server's own tools.
    std::optional<DailyBackupStart> backup;
    if (before.server.isEmpty())
        backup.emplace(desktop, place, &window);
    importFilesGivenAtStart(windows, window, files);
    startSyncing(sync, window, windows);
    return app.exec();
}

} // namespace dialvault
