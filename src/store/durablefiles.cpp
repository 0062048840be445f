#include "store/durablefiles.h"

#include "store/filedescriptor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dialvault {

namespace {

FailureCause causeOf(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return FailureCause::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return FailureCause::ReadOnly;
    case ENOENT:
    case ENOTDIR:
        return FailureCause::CannotOpen;
    case EIO:
        return FailureCause::Damaged;
    default:
        return FailureCause::Other;
    }
}

std::mutex watcherMutex;
DurableStepWatcher watcher;

void tell(DurableStep step, const QString &path, const QString &newPath = {})
{
    const std::lock_guard lock(watcherMutex);
    if (watcher)
        watcher(step, path, newPath);
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

Status syncPath(const QString &path, int flags, const QString &what)
{
    const FileDescriptor fd(::open(native(path).constData(), flags | O_CLOEXEC));
    if (fd.get() < 0)
        return fileFailure(errno, what, path);
    if (::fsync(fd.get()) != 0)
        return fileFailure(errno, what, path);
    return {};
}

bool writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// The copy is made under a temporary name and renamed when whole, so that
// the name `to` never holds a partial copy.
Status copyFile(const QString &from, const QString &to)
{
    const FileDescriptor source(::open(native(from).constData(), O_RDONLY | O_CLOEXEC));
    struct stat info = {};
    if (source.get() < 0 || ::fstat(source.get(), &info) != 0)
        return fileFailure(errno, QStringLiteral("read"), from);
    const Result<QString> temporary = createUniqueFile(to, info.st_mode & 07777);
    if (!temporary.ok())
        return temporary;
    Status status;
    {
        const FileDescriptor target(
            ::open(native(temporary.value).constData(), O_WRONLY | O_CLOEXEC));
        QByteArray buffer(1 << 16, Qt::Uninitialized);
        for (;;) {
            const ssize_t got = ::read(source.get(), buffer.data(), size_t(buffer.size()));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                status = fileFailure(errno, QStringLiteral("read"), from);
                break;
            }
            if (got == 0) {
                if (::fsync(target.get()) != 0)
                    status = fileFailure(errno, QStringLiteral("write"), temporary.value);
                else
                    tell(DurableStep::FileSynced, temporary.value);
                break;
            }
            if (target.get() < 0 || !writeAll(target.get(), buffer.constData(), got)) {
                status = fileFailure(errno, QStringLiteral("write"), temporary.value);
                break;
            }
        }
    }
    if (status.ok())
        status = renameWithoutReplacing(temporary.value, to);
    if (!status.ok())
        QFile::remove(temporary.value);
    return status;
}

} // namespace

Status fileFailure(int errorNumber, const QString &what, const QString &path)
{
    return {{FileUnavailable,
             QStringLiteral("cannot %1 %2: %3")
                 .arg(what, QDir::toNativeSeparators(path),
                      QString::fromLocal8Bit(std::strerror(errorNumber))),
             causeOf(errorNumber)}};
}

void watchDurableSteps(DurableStepWatcher newWatcher)
{
    const std::lock_guard lock(watcherMutex);
    watcher = std::move(newWatcher);
}

FailureCause fileErrorCause(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return FailureCause::CannotOpen;
    case QFileDevice::ResourceError:
        return FailureCause::DiskFull;
    default:
        return FailureCause::Other;
    }
}

Status fileDeviceFailure(const QFileDevice &file)
{
    return {{1, file.errorString(), fileErrorCause(file.error())}};
}

Status syncFile(const QString &path)
{
    const Status status = syncPath(path, O_RDONLY, QStringLiteral("flush"));
    if (status.ok())
        tell(DurableStep::FileSynced, path);
    return status;
}

Status syncFolder(const QString &folder)
{
    const Status status
        = syncPath(folder, O_RDONLY | O_DIRECTORY, QStringLiteral("flush the folder"));
    if (status.ok())
        tell(DurableStep::FolderSynced, folder);
    return status;
}

Status alreadyExists(const QString &path)
{
    return {{FileExists, QStringLiteral("%1 already exists").arg(QDir::toNativeSeparators(path)),
             FailureCause::Other}};
}

Status renameWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray source = native(from);
    const QByteArray target = native(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE)
        == 0) {
        tell(DurableStep::Renamed, from, to);
        return {};
    }
    int error = errno;
    // File systems without the no-replace flag still refuse to link over a name.
    if (error == EINVAL || error == ENOSYS) {
        if (::link(source.constData(), target.constData()) == 0) {
            ::unlink(source.constData());
            tell(DurableStep::Renamed, from, to);
            return {};
        }
        error = errno;
    }
    if (error == EEXIST)
        return alreadyExists(to);
    return fileFailure(error, QStringLiteral("rename %1 to").arg(QDir::toNativeSeparators(from)),
                       to);
}

Status renameReplacing(const QString &from, const QString &to)
{
    if (::rename(native(from).constData(), native(to).constData()) == 0) {
        tell(DurableStep::Renamed, from, to);
        return {};
    }
    return fileFailure(errno, QStringLiteral("rename %1 to").arg(QDir::toNativeSeparators(from)),
                       to);
}

Result<QString> createUniqueFile(const QString &stem, unsigned mode)
{
    Result<QString> result;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = stem
            + QStringLiteral(".tmp-%1").arg(QRandomGenerator::system()->generate(), 8, 16,
                                            QLatin1Char('0'));
        const int fd
            = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0) {
            result.error = fileFailure(errno, QStringLiteral("create"), path).error;
            return result;
        }
        // Set apart from creation, so that the umask cannot narrow it.
        const bool permitted = ::fchmod(fd, mode) == 0;
        const int error = errno;
        ::close(fd);
        if (!permitted) {
            ::unlink(native(path).constData());
            result.error = fileFailure(error, QStringLiteral("set the permissions of"), path).error;
            return result;
        }
        result.value = path;
        return result;
    }
    result.error
        = fileFailure(EEXIST, QStringLiteral("create a temporary file beside"), stem).error;
    return result;
}

Status linkOrCopy(const QString &from, const QString &to)
{
    // A symbolic link is followed: the second name goes to the file itself.
    if (::linkat(AT_FDCWD, native(from).constData(), AT_FDCWD, native(to).constData(),
                 AT_SYMLINK_FOLLOW)
        == 0) {
        tell(DurableStep::Linked, from, to);
        return {};
    }
    const int error = errno;
    if (error == EEXIST)
        return alreadyExists(to);
    if (error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS)
        return copyFile(from, to);
    return fileFailure(
        error, QStringLiteral("keep a copy of %1 as").arg(QDir::toNativeSeparators(from)), to);
}

bool sameContents(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly)
        || first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        const QByteArray chunk = first.read(1 << 16);
        if (chunk.isEmpty() || chunk != second.read(chunk.size()))
            return false;
    }
    return second.atEnd();
}

} // namespace dialvault
