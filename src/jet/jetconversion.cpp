#include "jet/jetconversion.h"

#include "jet/phonebookwriter.h"
#include "store/durablefiles.h"

#include <QFile>
#include <QFileInfo>

namespace dialvault {

namespace {

// rw-r--r--, as the program's own database maker leaves its file.
constexpr unsigned newFileMode = 0644;

} // namespace

Result<QString> buildPhoneBookBeside(const QString &target, const QList<JetRow> &rows,
                                     unsigned mode)
{
    Result<QString> result = createUniqueFile(target, mode);
    if (!result.ok())
        return result;
    const Status written = writePhoneBook(result.value, rows);
    if (!written.ok()) {
        QFile::remove(result.value);
        result.error = written.error;
    }
    return result;
}

Status writeNewPhoneBook(const QString &newPath, const QList<JetRow> &rows)
{
    const Result<QString> built = buildPhoneBookBeside(newPath, rows, newFileMode);
    if (!built.ok())
        return built;
    // The rename checks for an existing file in the same step as it names this one.
    Status status = renameWithoutReplacing(built.value, newPath);
    if (!status.ok()) {
        QFile::remove(built.value);
        return status;
    }
    return syncFolder(QFileInfo(newPath).absolutePath());
}

} // namespace dialvault
