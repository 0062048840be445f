#pragma once

#include "store/cardlinks.h"

#include <QString>

namespace dialvault {

// What a link keeps of an entry as last synced: a hash of its name, number
// and note, with every line end as LF (a card has no other), so that an
// entry is seen changed when its texts are.
QString entryState(const EntryTexts &texts);

// The key that pairs an entry with a card at the first sync: the folded name
// and the number's digits, as an import finds duplicates.
QString pairingKey(const EntryTexts &texts);

} // namespace dialvault
