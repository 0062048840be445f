#pragma once

#include "store/contactentry.h"

namespace dialvault {

// The entries of an import, handed over one at a time as they are read, so
// that no more than a few are held however many there are.
class EntrySource
{
public:
    virtual ~EntrySource() = default;

    // The next entry into `entry`; false when there is none left, and when
    // the source failed (failed()).
    virtual bool next(ContactEntry &entry) = 0;
    // The source stopped before its end, a file found broken far into it:
    // nothing of the import is stored.
    virtual bool failed() const = 0;
};

} // namespace dialvault
