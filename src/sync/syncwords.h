#pragma once

#include "sync/syncerror.h"
#include "sync/syncreport.h"

#include <QString>
#include <QStringList>

namespace dialvault {

// What a person is told of a sync's failure, in the language in use; the
// store's failures in the store's own words.
QString syncFailureWords(const SyncStatus &status);

// What a sync did, one line for each side and one for the conflicts.
QStringList syncReportLines(const SyncReport &report);

} // namespace dialvault
