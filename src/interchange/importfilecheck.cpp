#include "interchange/importfilecheck.h"

#include "interchange/readfault.h"

#include <QFileInfo>

#include <limits>

namespace dialvault {

qint64 importLimitOf(const QString &setting)
{
    bool number = false;
    const qint64 mebibytes = setting.trimmed().toLongLong(&number);
    constexpr qint64 largest = std::numeric_limits<qint64>::max() >> 20;
    if (!number || mebibytes <= 0 || mebibytes > largest)
        return defaultImportLimit;
    return mebibytes << 20;
}

std::optional<ReadFailure> refusedImportFile(const QString &path, qint64 limit)
{
    const QFileInfo file(path);
    std::optional<ReadFailure> refused;
    // A missing file is said when it cannot be opened.
    if (file.exists() && !file.isFile())
        refused = readFailure(ReadFault::NotAFile, 0);
    else if (file.isFile() && file.size() > limit) {
        refused = readFailure(ReadFault::TooLarge, 0);
        const QString size = QStringLiteral(" (%1 MiB)").arg((limit + (1 << 20) - 1) >> 20);
        refused->reason += size;
    }
    if (refused)
        refused->fileName = path;
    return refused;
}

} // namespace dialvault
