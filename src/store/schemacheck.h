#pragma once

#include "store/storeerror.h"

#include <QString>

class QSqlDatabase;

namespace dialvault {

// Whether the phone book open on `db` holds exactly what the program puts in
// one, so that nothing of another program's acts when it is used: table
// `test` with our four fields and generated columns (their expressions
// ours), our two indexes, our count table with its two triggers, and no
// other table, index, trigger or view (SQLite's own tables aside). A file
// below the schema's version may lack pieces it gains when completed, but
// holds no other; one at the version lacks none.
//
// Refusals: NoTable when there is no table `test`, MissingField when it
// lacks one of the four fields, otherwise ForeignSchema with the first piece
// that is not ours (or is missing) in foreignPart. Reads the schema only;
// nothing of the file's is run.
Status checkSchema(const QSqlDatabase &db);

} // namespace dialvault
