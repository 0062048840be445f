#pragma once

#include "store/cardlinks.h"

#include <QString>

namespace dialvault {

// What a link keeps of an entry as last synced: a hash of its name, number
// and note, with every line end as LF (a card has no other), so that an
// entry is seen changed when its texts are; then hashes of its folded name
// and of its number's digits, for isSameEntry().
QString entryState(const EntryTexts &texts);

// Whether the entry now under a link's key is still the one synced as
// `state`: its folded name or its number's digits unchanged. A file reuses
// the key of its last entry once that is deleted, and the link would
// otherwise write a stranger into the deleted person's card.
bool isSameEntry(const EntryTexts &texts, const QString &state);

// The key that pairs an entry with a card at the first sync: the folded name
// and the number's digits, as an import finds duplicates.
QString pairingKey(const EntryTexts &texts);

} // namespace dialvault
