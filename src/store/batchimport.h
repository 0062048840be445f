#pragma once

#include "store/contactentry.h"
#include "store/phonebook.h"
#include "store/storeerror.h"

namespace dialvault {

// An import as an engine does it for itself (StoreEngine::batchImport()):
// what PhoneBook's import does entry by entry (find the entry's
// duplicates, store it with its row number), done for many entries at a
// time, in one transaction begun with the first batch.
class BatchImport
{
public:
    virtual ~BatchImport() = default;

    // Takes one entry that has a name or a number; may send a batch.
    virtual Status add(const ContactEntry &entry) = 0;
    // Sends what is left and commits: what was added and what skipped.
    virtual Result<ImportCounts> commit() = 0;
    // After a failure: nothing of the import stays.
    virtual void rollback() = 0;
};

} // namespace dialvault
