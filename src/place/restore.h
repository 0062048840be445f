#pragma once

#include "place/phonebookplace.h"

#include <QDateTime>
#include <QString>

namespace dialvault {

// Puts the phone book kept in `file` (a backup, or any copy of a phone book)
// in the place of the current one. The file is copied and the copy checked
// first (integrity, table `test` with its four fields); a file that fails is
// refused and nothing changes. The current phone book is then kept as a
// backup, and the copy takes its place in one step. Returns the path of that
// backup, or empty text when there was no phone book to keep.
Result<QString> restorePhoneBook(const PhoneBookPlace &place, const QString &file,
                                 const QDateTime &now);

} // namespace dialvault
