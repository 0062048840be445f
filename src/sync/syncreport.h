#pragma once

#include "store/cardlinks.h"

#include <QList>

namespace dialvault {

// What a sync did to one side.
struct SideCounts
{
    int added = 0;
    int changed = 0;
    int deleted = 0;

    friend bool operator==(const SideCounts &, const SideCounts &) = default;
};

// What a sync did: to the phone book here, to the address book there, and
// the conflicts, where the server's version was kept and ours put aside.
struct SyncReport
{
    SideCounts here;
    SideCounts there;
    int conflicts = 0;
    QList<EntryTexts> putAside; // our versions that lost a conflict
    int skippedCards = 0; // cards that are no entries: groups, unreadable, empty
    int requests = 0; // sent to the server
};

} // namespace dialvault
