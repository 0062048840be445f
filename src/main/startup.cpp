#include "main/startup.h"

#include "jet/carryover.h"
#include "jet/carryovermessage.h"
#include "layout/displaycheck.h"
#include "layout/failurewords.h"
#include "layout/services.h"
#include "layout/unhandledfailure.h"
#include "main/form1.h"
#include "main/form1texts.h"
#include "store/contactstore.h"

#include <QApplication>

#include <cstdio>
#include <optional>

namespace dialvault {

namespace {

// Reading an old Jet file forks a child process, which is only safe while the
// program has one thread: before the window system's application exists.
Result<CarryOver> carryOverBeforeWindows(int &argc, char **argv)
{
    QCoreApplication probe(argc, argv);
    return carryOverJetPhoneBook(QCoreApplication::applicationDirPath());
}

} // namespace

int runWindows(int &argc, char **argv)
{
    if (const auto problem = missingDisplay(QString::fromLocal8Bit(argv[0]))) {
        std::fputs(qPrintable(*problem + u'\n'), stderr);
        return 1;
    }
    const Result<CarryOver> carried = carryOverBeforeWindows(argc, argv);

    QApplication app(argc, argv);
    if (!carried.ok()) {
        const QString path = ContactStore(services().programFolder()).databasePath();
        reportUnhandledFailure(failureText(form1texts::startupFailed, carried.error, path));
        return 1;
    }
    Form1 form;
    if (!form.start())
        return 1;
    if (carried.value.converted)
        services().messageBox(carriedOverMessage(carried.value), MsgOkInformation);
    return app.exec();
}

} // namespace dialvault
