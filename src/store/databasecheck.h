#pragma once

#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// Whether the file at `path` holds a phone book: PRAGMA integrity_check
// passes, and table `test` has its four fields. Refusals carry
// NotADatabase, Damaged, NoTable or MissingField.
Status checkPhoneBook(const QString &path);

} // namespace dialvault
