#pragma once

#include "jet/jetrow.h"
#include "store/storeerror.h"

#include <QList>
#include <QString>

namespace dialvault {

// Fills the empty file at `path` with a phone book of our own holding `rows`
// in the given order, values exact (NULL stays NULL), and flushes it to the
// disk. The schema is the store's, so the result is exactly the file the
// program makes and then fills. The file is meant to be a temporary one that
// is thrown away on failure: it is written without a journal.
Status writePhoneBook(const QString &path, const QList<JetRow> &rows);

} // namespace dialvault
