#include "jet/carryover.h"

#include "jet/jetconversion.h"
#include "jet/jetfailure.h"
#include "jet/jetreader.h"
#include "jet/jetsignature.h"
#include "store/contactstore.h"
#include "store/durablefiles.h"
#include "store/filedescriptor.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dialvault {

namespace {

// A Jet file replaced under our feet more often than this is left alone.
constexpr int maxAttempts = 3;
constexpr int maxBackupNumber = 10000;

QString backupName(int number)
{
    return number == 1 ? QStringLiteral("db1-jet-backup.mdb")
                       : QStringLiteral("db1-jet-backup-%1.mdb").arg(number);
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Temporary files of a run that was interrupted: the new phone book and a
// backup copy under construction. Only a run that holds the lock removes
// them, so none of them belongs to a run still going.
void removeLeftovers(QDir folder)
{
    static const QRegularExpression leftover(
        QStringLiteral("^(db1\\.mdb|db1-jet-backup(-[0-9]+)?\\.mdb)\\.tmp-[0-9a-f]{8}$"));
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (leftover.match(name).hasMatch())
            folder.remove(name);
    }
}

// The backup's name: one that an interrupted run already gave this very
// file (or a file with the same bytes), else the first free one.
Result<QString> keepBackup(const QDir &folder, const QString &jetPath, const struct stat &jet)
{
    Result<QString> result;
    for (int number = 1; number <= maxBackupNumber; ++number) {
        const QString name = backupName(number);
        const QString path = folder.filePath(name);
        struct stat existing = {};
        if (::lstat(QFile::encodeName(path).constData(), &existing) == 0) {
            if (sameFile(existing, jet)
                || (S_ISREG(existing.st_mode) && existing.st_size == jet.st_size
                    && sameContents(path, jetPath))) {
                result.value = name;
                return result;
            }
            continue;
        }
        const Status kept = linkOrCopy(jetPath, path);
        if (kept.error.number == JetDatabaseExists)
            continue;
        if (!kept.ok()) {
            result.error = kept.error;
            return result;
        }
        result.value = name;
        return result;
    }
    result.error
        = fileFailure(EEXIST, QStringLiteral("find a free backup name for"), jetPath).error;
    return result;
}

Result<CarryOver> convertLocked(const QDir &folder, const QString &path, const struct stat &jet,
                                const CarryOverObserver &afterStep)
{
    const auto reached = [&](CarryOverStep step) {
        if (afterStep)
            afterStep(step);
    };
    Result<CarryOver> result;
    removeLeftovers(folder);
    reached(CarryOverStep::Locked);

    const Result<QList<JetRow>> rows = readJetTable(path);
    if (!rows.ok()) {
        result.error = rows.error;
        return result;
    }
    reached(CarryOverStep::Read);

    // The phone book takes over the Jet file's permissions, so that whoever
    // could change the entries before still can; its owner always can.
    const Result<QString> built
        = buildPhoneBookBeside(path, rows.value, (jet.st_mode & 0777) | S_IRUSR | S_IWUSR);
    if (!built.ok()) {
        result.error = built.error;
        return result;
    }
    reached(CarryOverStep::Built);

    const Result<QString> backup = keepBackup(folder, path, jet);
    Status status = backup;
    if (status.ok())
        status = syncFolder(folder.path());
    if (!status.ok()) {
        QFile::remove(built.value);
        result.error = status.error;
        return result;
    }
    reached(CarryOverStep::BackedUp);

    status = renameReplacing(built.value, path);
    if (!status.ok()) {
        QFile::remove(built.value);
        result.error = status.error;
        return result;
    }
    status = syncFolder(folder.path());
    if (!status.ok()) {
        result.error = status.error;
        return result;
    }
    reached(CarryOverStep::Swapped);
    result.value = {true, rows.value.size(), backup.value};
    return result;
}

} // namespace

Result<CarryOver> carryOverJetPhoneBook(const QString &folder, const CarryOverObserver &afterStep)
{
    const QDir dir(folder);
    const QString path = dir.filePath(ContactStore::fileName());
    const QByteArray nativePath = QFile::encodeName(path);
    for (int attempt = 0; attempt < maxAttempts; ++attempt) {
        // A file that cannot be read is no Jet file to us: the store reports
        // it. O_NONBLOCK keeps a named pipe from holding the start-up forever.
        const FileDescriptor fd(::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        struct stat held = {};
        if (fd.get() < 0 || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode))
            return {};
        char head[jetSignatureSize];
        if (::pread(fd.get(), head, sizeof head, 0) != jetSignatureSize
            || !hasJetSignature(QByteArrayView(head, sizeof head)))
            return {};
        // The lock is taken on the Jet file itself (which no one writes), so
        // that another copy of the program waits here, then finds it replaced.
        int locked;
        while ((locked = ::flock(fd.get(), LOCK_EX)) != 0 && errno == EINTR) { }
        if (locked != 0)
            return {{fileFailure(errno, QStringLiteral("lock"), path).error}};
        struct stat named = {};
        if (::stat(nativePath.constData(), &named) != 0 || !sameFile(held, named))
            continue;
        return convertLocked(dir, path, held, afterStep);
    }
    return {{fileFailure(EBUSY, QStringLiteral("carry over"), path).error}};
}

} // namespace dialvault
