#pragma once

#include "place/databasecopy.h"
#include "place/phonebookplace.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace dialvault {

// Backups live in backups/ beside the phone book, named by the day they were
// made: db1-YYYY-MM-DD.mdb, or db1-YYYY-MM-DD-HHMMSS.mdb for a further one of
// the same day. Those of the last 14 days that have any are kept. The folder
// must be a folder of the user's own: one that is a symbolic link (to a
// folder of other files, perhaps with names like these) is neither written
// into nor pruned.
namespace backups {

inline constexpr int keptDays = 14;

// Whether `folder` is fit to hold backups: missing, or a real folder (not a
// symbolic link) that belongs to the user. UnsafeFolder when it is not.
Status checkFolder(const QString &folder);

// Whether a backup was made on `day` (never in a folder unfit for them).
bool madeOn(const QString &folder, QDate day);

// A consistent copy of `database` made now into `folder` (created when
// missing), then the backups of days before the last 14 removed. Returns the
// new backup's path. Never replaces an existing backup. Only a phone book
// that passes the checks of opening is copied, and only when the file holds
// no more pages than its size and the folder has room for it.
Result<QString> make(const QString &database, const QString &folder, const QDateTime &now,
                     const CopyPacing &pacing = {});

// Keeps `file` in `folder` as it is, byte for byte (SQLite may not read it,
// or the program refuse it), under a backup's name with the time; pruning
// removes it only if it is a phone book of ours. Returns its path.
Result<QString> keepBytes(const QString &file, const QString &folder, const QDateTime &now);

// Removes the backups of every day but the `keptDays` latest with one, and
// leftovers of copies interrupted more than an hour ago. Only what the
// program wrote goes: regular files, never through a symbolic link, named
// as backups and holding a phone book of ours (a leftover: a SQLite file's
// start, or nothing). `spare` is never removed, whatever its day.
void prune(const QString &folder, const QString &spare = {});

} // namespace backups

// The day's backup, when none was made today: the first start of each day.
// Returns the new backup's path, or empty text when it was not due.
Result<QString> makeDailyBackup(const PhoneBookPlace &place, const QDateTime &now,
                                const CopyPacing &pacing = {});

} // namespace dialvault
