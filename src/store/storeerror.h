#pragma once

#include <QString>

namespace dialvault {

// Why an operation failed, in terms a person can act on. The windows choose
// their words from the cause, never from the number, whose meaning depends on
// which engine or layer raised it.
enum class FailureCause {
    None, // success
    NotFound, // no entry has the name (no current record)
    BusyOrLocked, // another program holds the file
    ReadOnly, // the file or its folder cannot be written
    DiskFull,
    CannotOpen, // missing, unreadable, or a folder that does not exist
    NotADatabase, // the file is something else
    Damaged, // a database, but inconsistent or cut short
    NoTable, // a database without table `test`
    MissingField, // table `test` lacks one of its four fields
    ServerUnreachable, // the server is down, does not answer, or the connection broke
    ServerBusy, // the server did not answer within the deadline
    LoginRefused, // the server refused the user or the password
    PermissionDenied, // the user lacks a right on the server (StoreError::missingRight)
    ServerNotPrepared, // no phone book on the server: its database, `test` or the count
    OutcomeUnknown, // the connection broke while a change was committed
    // the file holds what a phone book of the program's has not (a trigger,
    // index, view, table or column of another program's), or lacks a piece
    // of its own (StoreError::foreignPart names it)
    ForeignSchema,
    UnsafeFolder, // a folder to write into is a symbolic link, or not the user's own
    ServerFull, // the server takes no more connections: too many people are connected
    ChangeConflict, // another person's change held what this one needed, past the deadline
    ServerEndedSession, // the server ended a connection whose work waited too long
    ServerReadOnly, // the server takes no changes: a standby, or read-only by its settings
    ServerRefusedData, // a rule of the server's table refused the data
    ServerFault, // the server failed of itself: its memory, its disk, an internal error
    Other,
};

// A failure of the contact store: its cause, and the number and text of
// whoever raised it (the engine's own, or the program's below). Number 0
// means success.
struct StoreError
{
    int number = 0;
    QString description;
    FailureCause cause = FailureCause::None;
    // For PermissionDenied: the right the operation needs, as GRANT names it
    // ("INSERT ON test").
    QString missingRight = {};
    // For ForeignSchema: the piece as SQL names it ("trigger x", "column y",
    // "no index test_phone_digits").
    QString foreignPart = {};
    // Whether the connection to the server is gone with this failure: the
    // next use makes a new one, and a change sent on it may have been stored.
    bool connectionLost = false;
    // For OutcomeUnknown: the cause that left the outcome unknown.
    FailureCause lostBy = FailureCause::None;
};

// Failure numbers the program itself raises (the rest are the engine's own).
enum StoreErrorNumber : int {
    NoCurrentRecord = 3021, // a field read or a row deleted with no current row
    RecordIsDeleted = 3167, // the current row was removed by another connection
    ObjectNotSet = 3420, // nothing is open to work on
    CountMissing = 3049, // the kept entry count is gone: the file is damaged
    ServerCallFailed = 3146, // the database server refused or failed a statement
    UnrecognizedFormat = 3343, // the file is no phone book as the program makes it
    ImportStopped = 3059, // an import's entries stopped before their end: nothing was stored
};

// The outcome of an operation that gives back nothing.
struct Status
{
    StoreError error;
    bool ok() const { return error.number == 0; }
};

// The outcome of an operation that gives back a value; value is meaningful only when ok().
template <typename T>
struct Result : Status
{
    T value{};
};

// A Result that carries the failure of an earlier step.
template <typename T>
Result<T> failedResult(const Status &status)
{
    Result<T> result;
    result.error = status.error;
    return result;
}

} // namespace dialvault
