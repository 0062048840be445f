#include "store/serverfailure.h"

#include <QSqlError>

#include <utility>

namespace dialvault {

namespace {

// The cause of a failure that came with no SQLSTATE: libpq's own, or the
// server's refusal of the connection, told apart by libpq's text.
FailureCause causeOfText(const QString &text)
{
    const auto has = [&](const char *words) { return text.contains(QLatin1String(words)); };
    if (has("authentication failed") || has("no password supplied") || has("pg_hba.conf")
        || (has("role \"") && has("does not exist")))
        return FailureCause::LoginRefused;
    if (has("database \"") && has("does not exist"))
        return FailureCause::ServerNotPrepared;
    if (has("permission denied for database"))
        return FailureCause::PermissionDenied; // the right is named by the engine's connect()
    // "sorry, too many clients already", "remaining connection slots are
    // reserved for …", "too many connections for role …"
    if (has("too many clients") || has("remaining connection slots are reserved")
        || has("too many connections"))
        return FailureCause::ServerFull;
    // Every host of the address answered, none of them taking changes
    // (target_session_attrs=read-write while the primary is away).
    if (has("session is read-only") || has("server is in hot standby mode"))
        return FailureCause::ServerReadOnly;
    return FailureCause::ServerUnreachable;
}

// The SQLSTATEs and classes the program can meet, the most particular first.
FailureCause causeOfState(const QString &state)
{
    static const std::pair<const char *, FailureCause> causes[]{
        {"57P01", FailureCause::ServerUnreachable}, // the administrator ended the session
        {"57P02", FailureCause::ServerUnreachable}, // the server crashed
        {"57P03", FailureCause::ServerUnreachable}, // starting up, shutting down, recovering
        {"57P04", FailureCause::ServerNotPrepared}, // the database was dropped
        {"57P05", FailureCause::ServerEndedSession}, // idle too long
        {"25P03", FailureCause::ServerEndedSession}, // idle too long inside a transaction
        {"57014", FailureCause::ServerBusy}, // cancelled: a timeout, or the program's deadline
        {"08", FailureCause::ServerUnreachable},
        {"28", FailureCause::LoginRefused},
        {"42501", FailureCause::PermissionDenied},
        {"3D", FailureCause::ServerNotPrepared}, // no such database
        {"3F", FailureCause::ServerNotPrepared}, // no such schema
        {"42P01", FailureCause::ServerNotPrepared}, // no such table
        {"42703", FailureCause::ServerNotPrepared}, // no such column
        {"42883", FailureCause::ServerNotPrepared}, // no such function
        {"42704", FailureCause::ServerNotPrepared}, // no such object (a collation, a type)
        {"42804", FailureCause::ServerNotPrepared}, // a column of another type
        {"53100", FailureCause::DiskFull},
        {"53300", FailureCause::ServerFull},
        {"53", FailureCause::ServerFault}, // out of memory, a configured limit
        {"54", FailureCause::ServerFault}, // a limit of the program's statements
        {"58", FailureCause::ServerFault}, // the server's files
        {"XX", FailureCause::ServerFault}, // internal, data corrupted
        {"F0", FailureCause::ServerFault}, // its configuration
        {"HV", FailureCause::ServerFault}, // a foreign table's server
        {"55P03", FailureCause::ChangeConflict}, // a lock held past lock_timeout
        {"55006", FailureCause::ChangeConflict}, // in use by another session
        {"40", FailureCause::ChangeConflict}, // serialization failure, deadlock
        {"72", FailureCause::ServerBusy}, // snapshot too old: a read took too long
        {"25006", FailureCause::ServerReadOnly}, // a standby, or default_transaction_read_only
        {"22", FailureCause::ServerRefusedData}, // a value the column's type refuses
        {"23", FailureCause::ServerRefusedData}, // a constraint added to the table
        {"21", FailureCause::ServerRefusedData},
        {"27", FailureCause::ServerRefusedData},
        {"09", FailureCause::ServerRefusedData}, // a trigger of the table
        {"2F", FailureCause::ServerRefusedData},
        {"38", FailureCause::ServerRefusedData},
        {"39", FailureCause::ServerRefusedData},
        {"44", FailureCause::ServerRefusedData},
        {"P0", FailureCause::ServerRefusedData}, // RAISE in a trigger's function
    };
    for (const auto &[prefix, cause] : causes) {
        if (state.startsWith(QLatin1String(prefix)))
            return cause;
    }
    return FailureCause::Other;
}

} // namespace

StoreError serverError(const QSqlError &error, const QString &right)
{
    return serverError(error.nativeErrorCode(),
                       error.databaseText().isEmpty() ? error.driverText() : error.databaseText(),
                       right);
}

StoreError serverError(const QString &state, const QString &text, const QString &right)
{
    // The first line says it; libpq's LINE and caret lines that follow do not.
    QString said = text.section(u'\n', 0, 0).simplified();
    if (said.isEmpty())
        said = QStringLiteral("the connection to the server is closed");
    StoreError result{ServerCallFailed,
                      state.isEmpty() ? said : state + QStringLiteral(": ") + said};
    result.cause = state.isEmpty() ? causeOfText(text) : causeOfState(state);
    result.connectionLost = result.cause == FailureCause::ServerUnreachable
        || result.cause == FailureCause::ServerEndedSession;
    if (result.cause == FailureCause::PermissionDenied)
        result.missingRight = right;
    return result;
}

Status serverFailure(FailureCause cause, const QString &description)
{
    return {{ServerCallFailed, description, cause}};
}

} // namespace dialvault
