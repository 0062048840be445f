#include "interchange/duplicatekey.h"

#include "store/searchkeys.h"

namespace dialvault {

// The phone book's own keys, so that a file's duplicates are decided exactly
// as the import into the store decides them.
QString duplicateKeyName(const QString &name)
{
    return foldedName(name);
}

QString phoneDigits(const QString &phone)
{
    return numberDigits(phone);
}

} // namespace dialvault
