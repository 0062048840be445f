#include "store/storefailure.h"

#include <QSqlError>

namespace dialvault {

namespace {

// SQLite's primary result codes (the low byte of an extended code).
enum : int {
    SqliteCorrupt = 11,
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteReadOnly = 8,
    SqliteFull = 13,
    SqliteCantOpen = 14,
    SqlitePerm = 3,
    SqliteNotADb = 26,
};

} // namespace

FailureCause sqliteCause(int extendedCode)
{
    switch (extendedCode & 0xFF) {
    case SqliteBusy:
    case SqliteLocked:
        return FailureCause::BusyOrLocked;
    case SqliteReadOnly:
    case SqlitePerm:
        return FailureCause::ReadOnly;
    case SqliteFull:
        return FailureCause::DiskFull;
    case SqliteCantOpen:
        return FailureCause::CannotOpen;
    case SqliteNotADb:
        return FailureCause::NotADatabase;
    case SqliteCorrupt:
        return FailureCause::Damaged;
    default:
        return FailureCause::Other;
    }
}

Status storeFailure(StoreErrorNumber number)
{
    switch (number) {
    case NoCurrentRecord:
        return {{number, QStringLiteral("No current record."), FailureCause::NotFound}};
    case RecordIsDeleted:
        return {{number, QStringLiteral("Record is deleted."), FailureCause::Other}};
    case ObjectNotSet:
        return {{number, QStringLiteral("Object invalid or no longer set."), FailureCause::Other}};
    case CountMissing:
        return {{number, QStringLiteral("The kept number of entries is missing."),
                 FailureCause::Damaged}};
    case ServerCallFailed:
        return {{number, QStringLiteral("ODBC--call failed."), FailureCause::Other}};
    case UnrecognizedFormat:
        return {
            {number, QStringLiteral("Unrecognized database format."), FailureCause::ForeignSchema}};
    case ImportStopped:
        return {{number, QStringLiteral("Operation canceled."), FailureCause::Other}};
    }
    return {{number, QString(), FailureCause::Other}};
}

Status sqliteFailure(const QSqlError &error)
{
    bool numbered = false;
    int number = error.nativeErrorCode().toInt(&numbered);
    // Qt's own failures (no driver, no statement) carry no engine number;
    // they still must not read as success, so they take SQLite's generic one.
    if (!numbered || number == 0)
        number = 1;
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    return {{number, text, sqliteCause(number)}};
}

Status outcomeUnknown(const Status &lost)
{
    Status unknown{{lost.error.number, lost.error.description, FailureCause::OutcomeUnknown}};
    unknown.error.lostBy
        = lost.error.cause == FailureCause::OutcomeUnknown ? lost.error.lostBy : lost.error.cause;
    return unknown;
}

} // namespace dialvault
