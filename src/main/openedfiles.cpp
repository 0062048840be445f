#include "main/openedfiles.h"

#include "layout/services.h"
#include "main/form1.h"
#include "windows/contactsdrop.h"

namespace dialvault {

void importFilesGivenAtStart(Form1 &form, const QStringList &files)
{
    // Files opened with the program from the desktop go in as dropped ones do.
    if (!files.isEmpty() && importDroppedFiles(services().phoneBookSource(), files))
        form.RefreshMain();
}

} // namespace dialvault
