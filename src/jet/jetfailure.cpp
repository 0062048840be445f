#include "jet/jetfailure.h"

#include <QDir>

#include <cerrno>
#include <cstring>

namespace dialvault {

namespace {

int numberOf(FailureCause cause)
{
    switch (cause) {
    case FailureCause::NotADatabase:
        return JetNotADatabase;
    case FailureCause::NoTable:
        return JetTableMissing;
    case FailureCause::MissingField:
        return JetFieldMissing;
    case FailureCause::Damaged:
        return JetDamaged;
    default:
        return JetFileUnavailable;
    }
}

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

} // namespace

Status jetFailure(FailureCause cause, const QString &description)
{
    return {{numberOf(cause), description, cause}};
}

Status fileFailure(int errorNumber, const QString &what, const QString &path)
{
    return {{JetFileUnavailable,
             QStringLiteral("cannot %1 %2: %3")
                 .arg(what, QDir::toNativeSeparators(path),
                      QString::fromLocal8Bit(std::strerror(errorNumber))),
             causeOf(errorNumber)}};
}

} // namespace dialvault
