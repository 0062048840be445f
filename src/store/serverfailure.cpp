#include "store/serverfailure.h"

#include <QSqlError>
#include <QStringList>

namespace dialvault {

namespace {

// The cause of a failure that came with no SQLSTATE: libpq's own, or the
// server's refusal of the connection, told apart by libpq's text.
FailureCause causeOfText(const QString &text)
{
    if (text.contains(QLatin1String("authentication failed"))
        || text.contains(QLatin1String("no password supplied"))
        || text.contains(QLatin1String("pg_hba.conf"))
        || (text.contains(QLatin1String("role \""))
            && text.contains(QLatin1String("does not exist"))))
        return FailureCause::LoginRefused;
    if (text.contains(QLatin1String("database \""))
        && text.contains(QLatin1String("does not exist")))
        return FailureCause::ServerNotPrepared;
    if (text.contains(QLatin1String("permission denied for database")))
        return FailureCause::PermissionDenied; // the right is named by the engine's connect()
    if (text.contains(QLatin1String("too many clients")))
        return FailureCause::ServerBusy;
    return FailureCause::ServerUnreachable;
}

FailureCause causeOfState(const QString &state)
{
    static const QStringList lost{"57P01", "57P02", "57P03"};
    static const QStringList notPrepared{"42P01", "42703", "3D000", "42883"};
    static const QStringList busy{"57014", "55P03", "53300", "40001", "40P01"};
    if (state.startsWith(QLatin1String("08")) || lost.contains(state))
        return FailureCause::ServerUnreachable;
    if (state.startsWith(QLatin1String("28")))
        return FailureCause::LoginRefused;
    if (state == QLatin1String("42501"))
        return FailureCause::PermissionDenied;
    if (notPrepared.contains(state))
        return FailureCause::ServerNotPrepared;
    if (busy.contains(state))
        return FailureCause::ServerBusy;
    if (state == QLatin1String("53100"))
        return FailureCause::DiskFull;
    return FailureCause::Other;
}

} // namespace

StoreError serverError(const QSqlError &error, const QString &right)
{
    const QString state = error.nativeErrorCode();
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    // The first line says it; libpq's LINE and caret lines that follow do not.
    QString said = text.section(u'\n', 0, 0).simplified();
    if (said.isEmpty())
        said = QStringLiteral("the connection to the server is closed");
    StoreError result{ServerCallFailed,
                      state.isEmpty() ? said : state + QStringLiteral(": ") + said};
    result.cause = state.isEmpty() ? causeOfText(text) : causeOfState(state);
    if (result.cause == FailureCause::PermissionDenied)
        result.missingRight = right;
    return result;
}

Status serverFailure(FailureCause cause, const QString &description)
{
    return {{ServerCallFailed, description, cause}};
}

} // namespace dialvault
