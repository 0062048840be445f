#include "main/openedfiles.h"

#include "interchange/contactsimport.h"
#include "interchange/transfertexts.h"
#include "layout/services.h"
#include "main/form1.h"
#include "store/phonebook.h"

namespace dialvault {

void importFilesGivenAtStart(Form1 &form, const QStringList &files)
{
    if (files.isEmpty())
        return;
    PhoneBook book(services().phoneBookSource());
    if (const Status opened = book.open(); !opened.ok()) {
        services().messageBox(notOpenedText(book.source(), opened.error, Language::Persian), MsgOk);
        return;
    }
    QStringList lines;
    ImportCounts total;
    bool everyFile = true;
    for (const QString &path : files) {
        const FileImport taken = importContactsFile(book, path);
        if (taken.refused)
            lines.append(refusedFileText(*taken.refused, Language::Persian));
        else if (!taken.ok())
            lines.append(notDoneText(path, taken.notStored, true, Language::Persian));
        else
            total += taken.counts;
        everyFile = everyFile && taken.ok();
    }
    lines.append(importSummaryText(total, Language::Persian));
    form.RefreshMain();
    services().messageBox(lines.join(u'\n'), everyFile ? MsgOkInformation : MsgOk);
}

} // namespace dialvault
