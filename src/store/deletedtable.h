#pragma once

#include <QString>

namespace dialvault {

// The table beside `test` that keeps deleted entries for a while, so that
// they can be put back: each with its four fields, the key it had, when and
// why it was deleted. Other programs reading `test` see nothing of it.
namespace DeletedTable {

inline const QString table = QStringLiteral("test_deleted");

// The table on a file; it may run again on a file that has it.
QString fileStatement();
// The same on a server, in the schema in use.
QString serverStatement();

// The rights on a server a person needs to delete, undo and put back, as
// GRANT lists them.
QString serverGrants(const QString &schema, const QString &role);

} // namespace DeletedTable

} // namespace dialvault
