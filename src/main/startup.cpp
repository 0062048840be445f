#include "main/startup.h"

#include "jet/carryover.h"
#include "jet/carryovermessage.h"
#include "layout/displaycheck.h"
#include "layout/failurewords.h"
#include "layout/qtservices.h"
#include "layout/unhandledfailure.h"
#include "main/dailybackupstart.h"
#include "main/form1.h"
#include "main/form1texts.h"
#include "main/openedfiles.h"
#include "place/phonebookplace.h"
#include "place/serverchoice.h"

#include <QApplication>

#include <cstdio>
#include <optional>

namespace dialvault {

namespace {

// What happens before the windows, each step only when the one before it
// succeeded.
struct BeforeWindows
{
    QString server; // empty: the local file
    Result<PhoneBookPlace> place;
    Status prepared;
    Result<CarryOver> carried;
};

// Reading an old Jet file forks a child process, which is only safe while the
// program has one thread: before the window system's application exists. The
// engine is chosen first: with a server the local folder keeps only the
// settings, so it is neither prepared nor carried over, and a portable folder
// that cannot be written does not matter. Otherwise the place is decided, so
// the carry-over works where the phone book lives.
BeforeWindows prepareBeforeWindows(int &argc, char **argv, const QString &dataFolder,
                                   const QString &serverOption)
{
    QCoreApplication probe(argc, argv);
    BeforeWindows before;
    before.server = chosenServer(serverOption, dataFolder);
    if (!before.server.isEmpty()) {
        PlaceFacts facts = placeFacts(dataFolder);
        facts.canWriteIn = [](const QString &) { return true; };
        before.place = decidePlace(facts);
        return before;
    }
    before.place = decidePlace(placeFacts(dataFolder));
    if (!before.place.ok())
        return before;
    before.prepared = preparePlace(before.place.value);
    if (before.prepared.ok())
        before.carried = carryOverJetPhoneBook(before.place.value.folder);
    return before;
}

} // namespace

int runWindows(int &argc, char **argv, const QString &dataFolder, const QStringList &files,
               const QString &server)
{
    if (const auto problem = missingDisplay(QString::fromLocal8Bit(argv[0]))) {
        std::fputs(qPrintable(*problem + u'\n'), stderr);
        return 1;
    }
    const BeforeWindows before = prepareBeforeWindows(argc, argv, dataFolder, server);

    QApplication app(argc, argv);
    // Lets the desktop match the windows with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(DIALVAULT_APP_ID));
    if (!before.place.ok()) {
        std::fputs(qPrintable(before.place.error.description + u'\n'), stderr);
        reportUnhandledFailure(before.place.error.description);
        return 1;
    }
    settleServices(before.place.value, before.server);
    const QString path = before.place.value.databasePath();
    const Status failed = !before.prepared.ok() ? before.prepared : before.carried;
    if (!failed.ok()) {
        reportUnhandledFailure(failureText(form1texts::startupFailed, failed.error, path));
        return 1;
    }
    Form1 form;
    if (!form.start())
        return 1;
    if (before.carried.value.converted)
        services().messageBox(carriedOverMessage(before.carried.value), MsgOkInformation);
    // A server is backed up with the server's own tools.
    std::optional<DailyBackupStart> backup;
    if (before.server.isEmpty())
        backup.emplace(before.place.value, &form);
    importFilesGivenAtStart(form, files);
    return app.exec();
}

} // namespace dialvault
