#pragma once

#include "store/durablefiles.h"
#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// The numbers under which a Jet file is refused: the ones the Jet engine
// itself gives for the same trouble, so that a person who knows them
// recognises them.
enum JetFailureNumber : int {
    JetDamaged = 3049, // cannot open the database: it may be damaged
    JetTableMissing = 3078, // cannot find the input table
    JetDatabaseExists = FileExists, // the database already exists
    JetFieldMissing = 3265, // item not found in this collection
    JetFileUnavailable = FileUnavailable, // cannot open or write the file
    JetNotADatabase = 3343, // unrecognised database format
};

// A refusal of a Jet file, numbered after its cause.
Status jetFailure(FailureCause cause, const QString &description);

} // namespace dialvault
