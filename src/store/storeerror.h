#pragma once

#include <QString>

namespace dialvault {

// A failure of the contact store, numbered as the database engine numbers it.
// Number 0 means success.
struct StoreError
{
    int number = 0;
    QString description;
};

// Failure numbers the program itself raises (the rest are the engine's own).
enum StoreErrorNumber : int {
    NoCurrentRecord = 3021, // a field read or a row deleted with no current row
    RecordIsDeleted = 3167, // the current row was removed by another connection
    ObjectNotSet = 3420, // the recordset slot is closed
    InvalidUseOfNull = 94, // a NULL field read as text
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

} // namespace dialvault
