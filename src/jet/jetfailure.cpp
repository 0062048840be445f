#include "jet/jetfailure.h"

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

} // namespace

Status jetFailure(FailureCause cause, const QString &description)
{
    return {{numberOf(cause), description, cause}};
}

} // namespace dialvault
