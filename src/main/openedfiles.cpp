#include "main/openedfiles.h"

#include "main/mainwindow.h"
#include "windows/contactsdrop.h"

namespace dialvault {

void importFilesGivenAtStart(WindowSystem &windows, MainWindow &window, const QStringList &files)
{
    // Files opened with the program from the desktop go in as dropped ones
    // do, as one step of the history.
    StoredKeys stored;
    if (files.isEmpty()
        || !importDroppedFiles(windows, window.source(), files, window.importSizeLimit(), &stored))
        return;
    window.history().recordImport(stored);
    window.refreshAfterChange();
    // A running copy may be handed them while its list is shown.
    Q_EMIT window.entriesChanged();
}

} // namespace dialvault
