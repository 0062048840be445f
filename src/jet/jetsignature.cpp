#include "jet/jetsignature.h"

#include "jet/jetfailure.h"
#include "store/durablefiles.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dialvault {

bool hasJetSignature(QByteArrayView head)
{
    static const QByteArrayView jet("\x00\x01\x00\x00Standard Jet DB\x00", jetSignatureSize);
    static const QByteArrayView ace("\x00\x01\x00\x00Standard ACE DB\x00", jetSignatureSize);
    if (head.size() < jetSignatureSize)
        return false;
    const QByteArrayView start = head.first(jetSignatureSize);
    return start == jet || start == ace;
}

Status checkJetSignature(const QString &path)
{
    // Without O_NONBLOCK, opening a named pipe would wait for a writer forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fileFailure(errno, QStringLiteral("read"), path);
    struct stat info = {};
    char head[jetSignatureSize];
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const bool signed_ = regular && ::pread(fd, head, sizeof head, 0) == jetSignatureSize
        && hasJetSignature(QByteArrayView(head, sizeof head));
    ::close(fd);
    if (signed_)
        return {};
    const QString shown = QDir::toNativeSeparators(path);
    return jetFailure(FailureCause::NotADatabase,
                      regular ? QStringLiteral("%1 is not a Jet database: its %2 bytes do not "
                                               "begin with the Jet signature")
                                    .arg(shown)
                                    .arg(info.st_size)
                              : QStringLiteral("%1 is not a file").arg(shown));
}

} // namespace dialvault
