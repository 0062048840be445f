#pragma once

#include "store/causewords.h"
#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// A failure as a message box shows it: what did not happen (`headline`), why
// in the person's words, the phone book's file when given, and last the
// number and text of whoever raised it, for whoever has to look further.
QString failureText(const QString &headline, const StoreError &error, const QString &path = {});

} // namespace dialvault
