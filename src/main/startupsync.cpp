#include "main/startupsync.h"

#include "desktop/syncrunner.h"
#include "desktop/windowsystem.h"
#include "layout/formtextbox.h"
#include "main/mainwindow.h"

#include <QPointer>

namespace dialvault {

void startSyncing(SyncRunner &sync, MainWindow &window, WindowSystem &windows)
{
    QObject::connect(&sync, &SyncRunner::entriesChanged, &window, &MainWindow::refreshAfterChange);
    if (!sync.addressBookSet())
        return;
    const QPointer<MainWindow> shown = &window;
    const QPointer<SyncRunner> runner = &sync;
    sync.start([&windows, shown, runner](const SyncResult<SyncReport> &synced) {
        if (!shown || !runner)
            return;
        const QString text = runner->outcomeText(synced);
        if (synced.ok())
            shown->controls().countBox->setToolTip(text);
        if (!synced.ok() || synced.value.conflicts > 0)
            windows.messageBox(text, synced.ok() ? MsgOkInformation : MsgOk, std::nullopt, shown);
    });
}

} // namespace dialvault
