#include "jet/phonebookwriter.h"

#include "jet/durablefiles.h"
#include "store/databasecreation.h"

namespace dialvault {

Status writePhoneBook(const QString &path, const QList<JetRow> &rows)
{
    const Status status = fillNewPhoneBook(path, rows);
    if (!status.ok())
        return status;
    return syncFile(path);
}

} // namespace dialvault
