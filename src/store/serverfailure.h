#pragma once

#include "store/storeerror.h"

#include <QString>

class QSqlError;

namespace dialvault {

// `error`, a failure that Qt's PostgreSQL driver reported, as a StoreError:
// its cause from the SQLSTATE, or from libpq's text when the server sent
// none (a failed connection); `right` for a refused permission.
StoreError serverError(const QSqlError &error, const QString &right = {});
// The same for a failure read from libpq itself: the SQLSTATE (empty when
// the server sent none) and the text.
StoreError serverError(const QString &state, const QString &text, const QString &right = {});

// A failure the program finds itself on a server, with the server's number.
Status serverFailure(FailureCause cause, const QString &description);

} // namespace dialvault
