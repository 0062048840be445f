#pragma once

#include "place/databasecopy.h"
#include "place/phonebookplace.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace dialvault {

// Backups live in backups/ beside the phone book, named by the day they were
// made: db1-YYYY-MM-DD.mdb, or db1-YYYY-MM-DD-HHMMSS.mdb for a further one of
// the same day. Those of the last 14 days that have any are kept.
namespace backups {

inline constexpr int keptDays = 14;

// Whether a backup was made on `day`.
bool madeOn(const QString &folder, QDate day);

// A consistent copy of `database` made now into `folder` (created when
// missing), then the backups of days before the last 14 removed. Returns the
// new backup's path. Never replaces an existing backup.
Result<QString> make(const QString &database, const QString &folder, const QDateTime &now,
                     const CopyPacing &pacing = {});

// Removes the backups of every day but the `keptDays` latest with one, and
// leftovers of copies interrupted more than an hour ago. `spare` is never
// removed, whatever its day.
void prune(const QString &folder, const QString &spare = {});

} // namespace backups

// The day's backup, when none was made today: the first start of each day.
// Returns the new backup's path, or empty text when it was not due.
Result<QString> makeDailyBackup(const PhoneBookPlace &place, const QDateTime &now,
                                const CopyPacing &pacing = {});

} // namespace dialvault
