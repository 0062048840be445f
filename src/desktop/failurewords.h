#pragma once

#include "store/phonebooksource.h"
#include "store/storeerror.h"
#include "words/causewords.h"

#include <QString>

namespace dialvault {

// A failure as a message box shows it: what did not happen (`headline`), why
// in the person's words, the phone book's file when given, and last the
// number and text of whoever raised it, for whoever has to look further.
QString failureText(const QString &headline, const StoreError &error, const QString &path = {});
// The same for a phone book that may be on a server: then the server is
// named (never with a password) in place of the file.
QString failureText(const QString &headline, const StoreError &error,
                    const PhoneBookSource &source);

} // namespace dialvault
